#include "shell/click_away_monitor.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>

#include "shell/x11_connection.h"

namespace glintdeck {

namespace {

// The left and right buttons, as the other platform's left- and right-mouse-down; 2 is the
// middle button, 4 to 7 the wheel.
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
    const QPoint pointer = QCursor::pos();
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->frameGeometry().contains(pointer)) {
            return;
        }
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
