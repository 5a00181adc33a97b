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
#include <cstring>
#include <memory>
#include <string>

namespace {

xcb_connection_t* connection;

// The reply to a request, freed with it.
template <typename Reply, typename Cookie>
std::unique_ptr<Reply, decltype(&std::free)> reply(Reply* (*get)(xcb_connection_t*, Cookie,
                                                                 xcb_generic_error_t**),
                                                   Cookie cookie) {
    return {get(connection, cookie, nullptr), &std::free};
}

int shot(xcb_window_t root, const char* file, int x, int y, int width, int height) {
    auto image = reply(xcb_get_image_reply,
                       xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(x),
                                     int16_t(y), uint16_t(width), uint16_t(height), ~0u));
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

int compositing() {
    constexpr char kSelection[] = "_NET_WM_CM_S0";
    auto atom = reply(xcb_intern_atom_reply,
                      xcb_intern_atom(connection, 0, sizeof kSelection - 1, kSelection));
    if (!atom) return 2;
    auto owner =
        reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(connection, atom->atom));
    return owner && owner->owner != XCB_NONE ? 0 : 1;
}

int canGrab(xcb_window_t root, int count, char** pairs) {
    for (int i = 0; i + 1 < count; i += 2) {
        const auto keycode = static_cast<xcb_keycode_t>(std::atoi(pairs[i]));
        const auto modifiers = static_cast<uint16_t>(std::atoi(pairs[i + 1]));
        // Alone, with Caps Lock, with Num Lock, with both.
        for (uint16_t locks : {0, 2, 16, 18}) {
            std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
                xcb_request_check(connection, xcb_grab_key_checked(
                                                  connection, 0, root, modifiers | locks, keycode,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)),
                &std::free);
            if (error) {
                std::printf("held by another client: keycode %d, modifiers %d\n", keycode,
                            modifiers | locks);
                return 1;
            }
            xcb_ungrab_key(connection, keycode, root, modifiers | locks);
        }
    }
    // A round trip, so that the ungrabs are done before another client tries.
    reply(xcb_get_input_focus_reply, xcb_get_input_focus(connection));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "screen_probe: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::string command = argc > 1 ? argv[1] : "";
    int status = 2;
    if (command == "shot" && argc == 3) {
        status =
            shot(screen->root, argv[2], 0, 0, screen->width_in_pixels, screen->height_in_pixels);
    } else if (command == "shot" && argc == 7) {
        status = shot(screen->root, argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                      std::atoi(argv[5]), std::atoi(argv[6]));
    } else if (command == "compositing" && argc == 2) {
        status = compositing();
    } else if (command == "can-grab" && argc >= 4 && argc % 2 == 0) {
        status = canGrab(screen->root, argc - 2, argv + 2);
    } else {
        std::fprintf(stderr,
                     "usage: screen_probe shot FILE [X Y WIDTH HEIGHT]\n"
                     "       screen_probe compositing\n"
                     "       screen_probe can-grab KEYCODE MODIFIERS...\n");
    }
    xcb_disconnect(connection);
    return status;
}
