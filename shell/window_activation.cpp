#include "shell/window_activation.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "shell/placement/startup_id.h"
#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

// The window a window manager names in _NET_SUPPORTING_WM_CHECK on the root window; a manager
// that died leaves the property behind, so the named window must carry it too.
uint32_t supportingWindow(xcb_connection_t* conn, uint32_t window) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            conn,
            xcb_get_property(conn, 0, window, x11::atom("_NET_SUPPORTING_WM_CHECK"),
                             XCB_ATOM_WINDOW, 0, 1),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
        return 0;
    }
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

bool windowManagerRunning(xcb_connection_t* conn) {
    const uint32_t check = supportingWindow(conn, x11::rootWindow());
    return check != 0 && supportingWindow(conn, check) == check;
}

// Broadcast on the root window as a sequence of client messages; see startupMessagePieces.
void announceStartupComplete(xcb_connection_t* conn, uint32_t sender, std::string_view id) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = sender;
    event.type = x11::atom("_NET_STARTUP_INFO_BEGIN");
    for (const std::array<char, 20>& piece : startupMessagePieces(startupRemoveMessage(id))) {
        std::memcpy(event.data.data8, piece.data(), piece.size());
        xcb_send_event(conn, 0, x11::rootWindow(), XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
        event.type = x11::atom("_NET_STARTUP_INFO");
    }
}

}  // namespace

void activateWindow(QWidget& window, std::optional<uint32_t> userTimestamp) {
    window.show();
    window.raise();
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        window.activateWindow();
        return;
    }
    const auto id = static_cast<uint32_t>(window.winId());
    const uint32_t time = userTimestamp.value_or(XCB_CURRENT_TIME);
    if (!windowManagerRunning(conn)) {
        xcb_set_input_focus(conn, XCB_INPUT_FOCUS_PARENT, id, time);
        xcb_flush(conn);
        return;
    }
    if (userTimestamp) {
        // Read by the manager when it maps a window it is asked to show just now.
        xcb_change_property(conn, XCB_PROP_MODE_REPLACE, id, x11::atom("_NET_WM_USER_TIME"),
                            XCB_ATOM_CARDINAL, 32, 1, &time);
    }
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = x11::atom("_NET_ACTIVE_WINDOW");
    request.data.data32[0] = 1;  // source: an application
    request.data.data32[1] = time;
    request.data.data32[2] = 0;  // our currently active window: none
    xcb_send_event(conn, 0, x11::rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(conn);
}

void prepareSummonActivation(QWidget& window, const SummonRequest& request) {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr || request.activationToken.empty()) {
        return;
    }
    const std::string& id = request.activationToken;
    xcb_change_property(conn, XCB_PROP_MODE_REPLACE, static_cast<uint32_t>(window.winId()),
                        x11::atom("_NET_STARTUP_ID"), x11::atom("UTF8_STRING"), 8,
                        static_cast<uint32_t>(id.size()), id.data());
}

void activateSummonedWindow(QWidget& window, const SummonRequest& request) {
    std::optional<uint32_t> time = request.userTimestamp;
    xcb_connection_t* conn = x11::connection();
    if (conn != nullptr && !request.activationToken.empty()) {
        announceStartupComplete(conn, static_cast<uint32_t>(window.winId()),
                                request.activationToken);
        if (!time) {
            time = startupTimestamp(request.activationToken);
        }
    }
    activateWindow(window, time);
}

}  // namespace glintdeck
