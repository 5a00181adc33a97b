#include "shell/x11/x11_server_time.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include "shell/x11/x11_connection.h"

namespace glintdeck::x11 {

std::optional<uint32_t> serverTime() {
    if (connection() == nullptr) return std::nullopt;
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> conn(xcb_connect(nullptr, nullptr),
                                                                      &xcb_disconnect);
    if (xcb_connection_has_error(conn.get()) != 0) return std::nullopt;
    // The server stamps every event with its time; a property change on a window nobody else
    // listens to is the one event a client can cause for itself. The window goes with the
    // connection.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn.get())).data;
    const uint32_t window = xcb_generate_id(conn.get());
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(conn.get(), XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(conn.get(), XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, 0, nullptr);
    xcb_flush(conn.get());
    // The answer, or an error; MappingNotify, which every client gets, is passed over.
    while (xcb_generic_event_t* event = xcb_wait_for_event(conn.get())) {
        const bool answer = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
        const uint32_t time =
            answer ? reinterpret_cast<xcb_property_notify_event_t*>(event)->time : 0;
        const bool error = event->response_type == 0;
        std::free(event);
        if (answer) return time;
        if (error) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace glintdeck::x11
