#include "shell/floating_window.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <array>
#include <string>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

// _NET_WM_DESKTOP: every desktop.
constexpr uint32_t allDesktops = 0xFFFFFFFF;

void writeWindowManagerState(uint32_t window) {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        return;
    }
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, x11::atom("_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    // Replacing is right for a withdrawn window; Qt merges its own states into this list when
    // it maps the window.
    const std::array<uint32_t, 4> states{
        x11::atom("_NET_WM_STATE_STICKY"), x11::atom("_NET_WM_STATE_ABOVE"),
        x11::atom("_NET_WM_STATE_SKIP_TASKBAR"), x11::atom("_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, window, x11::atom("_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, states.size(), states.data());
}

}  // namespace

void makeFloatingPanel(QWidget& window, SessionKind session, PanelRole role) {
    const bool wayland = session == SessionKind::wayland;
    const bool takesKeyboard = wayland && role == PanelRole::strip;
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!takesKeyboard) {
        flags |= Qt::WindowDoesNotAcceptFocus;
    }
    if (wayland && role == PanelRole::companion) {
        flags |= Qt::BypassWindowManagerHint;
    }
    window.setWindowFlags(flags);
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.setAttribute(Qt::WA_ShowWithoutActivating, !takesKeyboard);
    window.setAttribute(Qt::WA_X11DoNotAcceptFocus, !takesKeyboard);
    // Qt shows tooltips only in the active window, which a panel never is on X11: without this
    // the settings button's and the pin's tooltips never appear.
    window.setAttribute(Qt::WA_AlwaysShowToolTips);
    // Keys reach the window itself (Esc), never a control inside it.
    window.setFocusPolicy(Qt::NoFocus);
}

void nameFloatingPanel(QWidget& window, std::string_view title, std::string_view windowClass) {
    window.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        return;
    }
    // WM_CLASS is "instance\0class\0"; Qt derives it from the application name, tools look
    // for ours.
    std::string value(windowClass);
    value.push_back('\0');
    value.append(windowClass);
    value.push_back('\0');
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, static_cast<uint32_t>(window.winId()),
                        XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, static_cast<uint32_t>(value.size()),
                        value.data());
}

void showFloatingPanel(QWidget& window) {
    if (!window.isVisible()) {
        writeWindowManagerState(static_cast<uint32_t>(window.winId()));
        window.show();
    }
    // Stacking is X11's business; on Qt's other platforms (offscreen, Wayland) the window flags
    // stack these windows.
    if (x11::connection() != nullptr) {
        window.raise();
    }
}

}  // namespace glintdeck
