#include "shell/x11/click_away_monitor.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <utility>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

// The left and right buttons count as a click elsewhere; 2 is the middle button (pasting into
// another window is not turning away), 4 to 7 the wheel.
constexpr uint32_t leftButton = 1;
constexpr uint32_t rightButton = 3;

// XI_RawButtonPress for the master pointers only: selecting all devices would replace the
// selection Qt itself keeps for all devices on the root window.
bool selectRawPresses(xcb_connection_t* conn, uint32_t root, bool on) {
    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                on ? uint32_t{XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS} : 0u};
    xcb_generic_error_t* error =
        xcb_request_check(conn, xcb_input_xi_select_events_checked(conn, root, 1, &selection.head));
    std::free(error);
    return error == nullptr;
}

// Monitors alive; the root selection is shared by all of them and dropped with the last.
int liveMonitors = 0;

// The top-level window the server shows under the pointer (mapped, and the topmost there): a
// window manager's frame, a client without one, or 0 over the bare root.
uint32_t topLevelUnderPointer(xcb_connection_t* conn, uint32_t root) {
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> pointer(
        xcb_query_pointer_reply(conn, xcb_query_pointer(conn, root), nullptr), &std::free);
    return pointer && pointer->same_screen ? pointer->child : 0;
}

// The child of the root that holds the window: the window itself, or the frame a window manager
// put it in (frames nest a level or two deep).
uint32_t topLevelOf(xcb_connection_t* conn, uint32_t root, uint32_t window) {
    constexpr int deepestFrame = 8;
    for (int depth = 0; depth < deepestFrame && window != 0; ++depth) {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr), &std::free);
        if (!tree) {
            return 0;
        }
        if (tree->parent == root) {
            return window;
        }
        window = tree->parent;
    }
    return 0;
}

// Whether the press landed on one of our windows as the user sees them: the window the server
// has on top under the pointer is ours. Qt's own idea of visible is not enough: a window that
// is minimised, covered by another program or on another desktop is still "visible" to it.
bool pointerOnOurWindow() {
    xcb_connection_t* conn = x11::connection();
    const uint32_t root = x11::rootWindow();
    const QPoint pointer = QCursor::pos();
    uint32_t under = 0;
    bool asked = false;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        // Only windows whose frame holds the pointer are worth a round trip to the server.
        if (!window->isVisible() || window->handle() == nullptr ||
            !window->frameGeometry().contains(pointer)) {
            continue;
        }
        if (!std::exchange(asked, true)) {
            under = topLevelUnderPointer(conn, root);
        }
        if (under != 0 && topLevelOf(conn, root, static_cast<uint32_t>(window->winId())) == under) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<ClickAwayMonitor> ClickAwayMonitor::install(Handler handler) {
    xcb_connection_t* conn = x11::connection();
    const uint32_t root = x11::rootWindow();
    if (conn == nullptr || root == 0) {
        return nullptr;
    }
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(conn, &xcb_input_id);
    if (xinput == nullptr || !xinput->present) {
        return nullptr;
    }
    // Qt has already agreed a version on this connection; asking for one at least as new
    // returns that agreement (asking for an older one would be an error).
    std::unique_ptr<xcb_input_xi_query_version_reply_t, decltype(&std::free)> version(
        xcb_input_xi_query_version_reply(conn, xcb_input_xi_query_version(conn, 2, 4), nullptr),
        &std::free);
    if (!version || version->major_version < 2) {
        return nullptr;
    }
    if (liveMonitors == 0 && !selectRawPresses(conn, root, true)) {
        return nullptr;
    }
    ++liveMonitors;
    std::unique_ptr<ClickAwayMonitor> monitor(
        new ClickAwayMonitor(std::move(handler), xinput->major_opcode));
    QCoreApplication::instance()->installNativeEventFilter(monitor.get());
    return monitor;
}

ClickAwayMonitor::ClickAwayMonitor(Handler handler, uint8_t xinputOpcode)
    : handler_(std::move(handler)), xinputOpcode_(xinputOpcode) {}

ClickAwayMonitor::~ClickAwayMonitor() {
    *alive_ = false;
    xcb_connection_t* conn = x11::connection();
    if (--liveMonitors == 0 && conn != nullptr) {
        (void)selectRawPresses(conn, x11::rootWindow(), false);
    }
    // The base class removes the filter from the event loop.
}

bool ClickAwayMonitor::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_ge_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_GE_GENERIC || event->extension != xinputOpcode_ ||
        event->event_type != XCB_INPUT_RAW_BUTTON_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_input_raw_button_press_event_t*>(message);
    if (press->detail == leftButton || press->detail == rightButton) {
        pressed();
    }
    return false;  // Qt may want raw events of its own
}

void ClickAwayMonitor::pressed() {
    // A press while one of our menus is open only closes the menu; it reaches no other program.
    if (QApplication::activePopupWidget() != nullptr) {
        return;
    }
    if (pointerOnOurWindow()) {
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [alive = alive_, handler = handler_] {
            if (*alive && handler) {
                handler();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace glintdeck
