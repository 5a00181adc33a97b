// screen_probe: what another X client can see of the desktop, for app-scenario.
//
//   screen_probe shot FILE [X Y WIDTH HEIGHT]   saves the screen (or a part of it) as a PNG, as
//                                               shown: with a compositing manager, its output
//   screen_probe compositing                    exits 0 while a compositing manager runs (the
//                                               selection _NET_WM_CM_S0 has an owner), else 1
//   screen_probe can-grab KEYCODE MODIFIERS...  exits 0 when this client could grab every
//                                               (keycode, modifier mask) pair given, alone and
//                                               with Caps Lock and Num Lock; 1 and names the
//                                               first pair someone else holds
//
// Key codes and masks are X's (Xvfb's default keymap: Control 4, Alt 8, Num Lock 16,
// Super 64); the grabs are released at once.
#include <xcb/xcb.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/x11/other_client.h"

namespace {

using glintdeck::testing::OtherClient;

int shot(OtherClient& other, const char* file, int x, int y, int width, int height) {
    xcb_connection_t* connection = other.connection();
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
        xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, other.root(), int16_t(x),
                          int16_t(y), uint16_t(width), uint16_t(height), ~0u),
            nullptr),
        &std::free);
    // Xvfb's 24-bit visual keeps each pixel in 32 bits, blue first: Qt's RGB32 on x86.
    if (!image || image->depth != 24 ||
        xcb_get_image_data_length(image.get()) != width * height * 4) {
        std::fprintf(stderr, "screen_probe: cannot read the screen (need a 24-bit visual)\n");
        return 1;
    }
    QImage picture(xcb_get_image_data(image.get()), width, height, width * 4, QImage::Format_RGB32);
    if (!picture.save(QString::fromLocal8Bit(file), "PNG")) {
        std::fprintf(stderr, "screen_probe: cannot write %s\n", file);
        return 1;
    }
    return 0;
}

int compositing(OtherClient& other) {
    xcb_connection_t* connection = other.connection();
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, other.atom("_NET_WM_CM_S0")), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE ? 0 : 1;
}

int canGrab(OtherClient& other, int count, char** pairs) {
    for (int i = 0; i + 1 < count; i += 2) {
        const auto keycode = static_cast<uint8_t>(std::atoi(pairs[i]));
        const auto modifiers = static_cast<uint16_t>(std::atoi(pairs[i + 1]));
        // Alone, with Caps Lock, with Num Lock, with both.
        for (uint16_t locks : {0, 2, 16, 18}) {
            if (!other.canGrab(keycode, modifiers | locks)) {
                std::printf("held by another client: keycode %d, modifiers %d\n", keycode,
                            modifiers | locks);
                return 1;
            }
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    OtherClient other;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(other.connection())).data;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "shot" && argc == 3) {
        return shot(other, argv[2], 0, 0, screen->width_in_pixels, screen->height_in_pixels);
    }
    if (command == "shot" && argc == 7) {
        return shot(other, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                    std::atoi(argv[6]));
    }
    if (command == "compositing" && argc == 2) return compositing(other);
    if (command == "can-grab" && argc >= 4 && argc % 2 == 0) {
        return canGrab(other, argc - 2, argv + 2);
    }
    std::fprintf(stderr,
                 "usage: screen_probe shot FILE [X Y WIDTH HEIGHT]\n"
                 "       screen_probe compositing\n"
                 "       screen_probe can-grab KEYCODE MODIFIERS...\n");
    return 2;
}
