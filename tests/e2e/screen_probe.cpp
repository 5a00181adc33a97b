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

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

int shot(xcb_connection_t* connection, xcb_screen_t* screen, const char* file, int x, int y,
         int width, int height) {
    Owned<xcb_get_image_reply_t> image(
        xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, int16_t(x),
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

int compositing(xcb_connection_t* connection) {
    constexpr char kSelection[] = "_NET_WM_CM_S0";
    Owned<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof kSelection - 1, kSelection), nullptr),
        &std::free);
    if (!atom) return 2;
    Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE ? 0 : 1;
}

int canGrab(xcb_connection_t* connection, xcb_window_t root, int count, char** pairs) {
    for (int i = 0; i + 1 < count; i += 2) {
        const auto keycode = static_cast<xcb_keycode_t>(std::atoi(pairs[i]));
        const auto modifiers = static_cast<uint16_t>(std::atoi(pairs[i + 1]));
        // Alone, with Caps Lock, with Num Lock, with both.
        for (uint16_t locks : {0, 2, 16, 18}) {
            Owned<xcb_generic_error_t> error(
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
    Owned<xcb_get_input_focus_reply_t> synced(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr),
        &std::free);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "screen_probe: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::string command = argc > 1 ? argv[1] : "";
    int status = 2;
    if (command == "shot" && (argc == 3 || argc == 7)) {
        int x = 0, y = 0, width = screen->width_in_pixels, height = screen->height_in_pixels;
        if (argc == 7) {
            x = std::atoi(argv[3]);
            y = std::atoi(argv[4]);
            width = std::atoi(argv[5]);
            height = std::atoi(argv[6]);
        }
        status = shot(connection, screen, argv[2], x, y, width, height);
    } else if (command == "compositing" && argc == 2) {
        status = compositing(connection);
    } else if (command == "can-grab" && argc >= 4 && argc % 2 == 0) {
        status = canGrab(connection, screen->root, argc - 2, argv + 2);
    } else {
        std::fprintf(stderr,
                     "usage: screen_probe shot FILE [X Y WIDTH HEIGHT]\n"
                     "       screen_probe compositing\n"
                     "       screen_probe can-grab KEYCODE MODIFIERS...\n");
    }
    xcb_disconnect(connection);
    return status;
}
