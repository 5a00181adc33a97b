#include "tests/x11/other_client.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace glintdeck::testing {

OtherClient::OtherClient() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) {
        std::fprintf(stderr, "no X display for the other client\n");
        std::abort();
    }
    connection_ = XGetXCBConnection(display_);
    root_ = DefaultRootWindow(display_);
}

OtherClient::~OtherClient() { XCloseDisplay(display_); }

bool OtherClient::grab(uint8_t keycode, uint16_t modifiers) {
    xcb_generic_error_t* error = xcb_request_check(
        connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::free(error);
    return error == nullptr;
}

void OtherClient::ungrab(uint8_t keycode, uint16_t modifiers) {
    xcb_ungrab_key(connection_, keycode, root_, modifiers);
    sync();
}

bool OtherClient::canGrab(uint8_t keycode, uint16_t modifiers) {
    if (!grab(keycode, modifiers)) {
        return false;
    }
    ungrab(keycode, modifiers);
    return true;
}

void OtherClient::key(uint8_t keycode, bool down) {
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    XFlush(display_);
}

void OtherClient::typeCombination(std::initializer_list<uint8_t> keycodes) {
    for (uint8_t keycode : keycodes) {
        key(keycode, true);
    }
    for (auto it = std::rbegin(keycodes); it != std::rend(keycodes); ++it) {
        key(*it, false);
    }
    sync();
}

uint32_t OtherClient::openWindow(int x, int y, int width, int height) {
    const uint32_t window = xcb_generate_id(connection_);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const uint32_t background = screen->white_pixel;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &background);
    xcb_map_window(connection_, window);
    sync();
    return window;
}

void OtherClient::closeWindow(uint32_t window) {
    xcb_destroy_window(connection_, window);
    sync();
}

void OtherClient::movePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    sync();
}

void OtherClient::button(unsigned button, bool down) {
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    sync();
}

void OtherClient::click(unsigned button, int x, int y) {
    movePointer(x, y);
    this->button(button, true);
    this->button(button, false);
}

uint32_t OtherClient::showFocusedWindow(int x, int y, int width, int height) {
    const uint32_t window = openWindow(x, y, width, height);
    focus(window);
    return window;
}

void OtherClient::focus(uint32_t window) {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    sync();
}

uint32_t OtherClient::focusedWindow() {
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr),
        &std::free);
    return reply ? reply->focus : 0;
}

uint32_t OtherClient::atom(const std::string& name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection_,
                              xcb_intern_atom(connection_, 0, name.size(), name.data()), nullptr),
        &std::free);
    return reply ? reply->atom : 0;
}

namespace {

// The property's value when it has the format, otherwise nothing.
template <typename T>
std::vector<T> propertyOf(xcb_connection_t* connection, uint32_t window, uint32_t property) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr),
        &std::free);
    if (!reply || reply->format != 8 * sizeof(T)) {
        return {};
    }
    const auto* values = static_cast<const T*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / sizeof(T)};
}

}  // namespace

std::vector<uint32_t> OtherClient::property32(uint32_t window, const std::string& name) {
    return propertyOf<uint32_t>(connection_, window, atom(name));
}

std::string OtherClient::propertyText(uint32_t window, uint32_t property) {
    const std::vector<char> text = propertyOf<char>(connection_, window, property);
    return {text.begin(), text.end()};
}

void OtherClient::sync() { XSync(display_, False); }

}  // namespace glintdeck::testing
