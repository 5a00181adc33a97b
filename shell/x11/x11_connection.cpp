#include "shell/x11/x11_connection.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace glintdeck::x11 {

xcb_connection_t* connection() {
    auto* app = qGuiApp;
    if (app == nullptr) {
        return nullptr;
    }
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

bool displayReachable() {
    xcb_connection_t* probe = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(probe) == 0;
    xcb_disconnect(probe);
    return reachable;
}

int screenNumber() {
    // Qt connects to $DISPLAY; parse it the way xcb_connect did.
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) {
        screen = 0;
    }
    std::free(host);
    return screen;
}

uint32_t rootWindow() {
    xcb_connection_t* conn = connection();
    if (conn == nullptr) {
        return 0;
    }
    // Asked for on every key and button event; the answer lasts as long as the connection.
    static xcb_connection_t* cachedFor = nullptr;
    static uint32_t root = 0;
    if (cachedFor != conn) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
        for (int i = screenNumber(); i > 0 && it.rem > 1; --i) {
            xcb_screen_next(&it);
        }
        root = it.rem > 0 ? it.data->root : 0;
        cachedFor = conn;
    }
    return root;
}

void sync() {
    if (xcb_connection_t* conn = connection()) {
        std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
    }
}

uint32_t atom(std::string_view name) {
    xcb_connection_t* conn = connection();
    if (conn == nullptr) {
        return 0;
    }
    // Atoms live as long as the server; one cache per connection is enough.
    static xcb_connection_t* cachedFor = nullptr;
    static std::map<std::string, uint32_t, std::less<>> cache;
    if (cachedFor != conn) {
        cache.clear();
        cachedFor = conn;
    }
    if (auto found = cache.find(name); found != cache.end()) {
        return found->second;
    }
    xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(conn, 0, static_cast<uint16_t>(name.size()), name.data());
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(conn, cookie, nullptr), &std::free);
    const uint32_t value = reply ? reply->atom : 0;
    if (value != 0) {
        cache.emplace(std::string(name), value);
    }
    return value;
}

}  // namespace glintdeck::x11
