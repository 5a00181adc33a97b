// glintdeck_virtual_pointer WIDTH HEIGHT
//
// A mouse on the compositor's own seat, through the wlr virtual-pointer protocol: the headless
// test seat has no pointer of its own, and no X11 tool reaches a native Wayland window. Reads
// commands from standard input, one a line, and answers each with "done" once the compositor has
// handled it:
//   click X Y [BUTTON]   moves to (X, Y) of the WIDTH × HEIGHT output layout and clicks BUTTON
//                        (a Linux input code: 272 left, the default; 273 right)
// The pointer stays until standard input ends, as a real mouse stays plugged in (sway 1.7 may
// crash when a pointer goes away just after clicking). Exits 1 when the compositor lacks the
// protocol.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void forget(void*, wl_registry*, uint32_t) {}

uint32_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const uint32_t width = std::stoul(argv[1]);
    const uint32_t height = std::stoul(argv[2]);

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    Globals globals;
    const wl_registry_listener listener{announce, forget};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fprintf(stderr, "virtual_pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream command(line);
        std::string verb;
        uint32_t x = 0;
        uint32_t y = 0;
        uint32_t button = BTN_LEFT;
        if (!(command >> verb >> x >> y) || verb != "click") {
            std::fprintf(stderr, "virtual_pointer: unknown command: %s\n", line.c_str());
            return 2;
        }
        command >> button;
        zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
        // The window under the pointer hears of it before the press, as with a hand on a mouse.
        wl_display_roundtrip(display);
        for (uint32_t state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), button, state);
            zwlr_virtual_pointer_v1_frame(pointer);
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "virtual_pointer: the compositor went away\n");
            return 1;
        }
        std::cout << "done" << std::endl;
    }
    wl_display_disconnect(display);
    return 0;
}
