// glintdeck_virtual_input WIDTH HEIGHT
//
// A mouse and keyboard on the compositor's own seat, for the Wayland session tests: the headless
// test seats have no devices of their own, and no X11 tool reaches a native Wayland window. It
// speaks whichever of two protocols the compositor offers: wlroots' virtual pointer (sway; keys
// come through wtype there) or KWin's fake input (pointer and keys, through KWin's whole input
// path, so its global shortcuts see them). Reads commands from standard input, one a line, and
// answers each with "done" once the compositor has handled it:
//   move X Y             moves to (X, Y) of the WIDTH × HEIGHT output layout
//   click X Y [BUTTON]   moves there and clicks BUTTON (a Linux input code: 272 left, the
//                        default; 273 right)
//   keys CODE...         presses the Linux key codes in order and releases them in reverse
//                        (fake input only)
// The devices stay until standard input ends, as a real mouse stays plugged in (sway 1.7 may
// crash when a pointer goes away just after clicking). Exits 1 when the compositor offers
// neither protocol.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* wlroots = nullptr;
    org_kde_kwin_fake_input* kwin = nullptr;
};

// The fake-input version with absolute motion and keys.
constexpr uint32_t kFakeInputVersion = 4;

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->wlroots = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 &&
               version >= kFakeInputVersion) {
        globals->kwin = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
            registry, name, &org_kde_kwin_fake_input_interface, kFakeInputVersion));
    }
}

void forget(void*, wl_registry*, uint32_t) {}

uint32_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

class Device {
  public:
    explicit Device(wl_display* display, const Globals& globals) : display_(display) {
        if (globals.wlroots != nullptr) {
            pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.wlroots,
                                                                              globals.seat);
        } else {
            kwin_ = globals.kwin;
            org_kde_kwin_fake_input_authenticate(kwin_, "glintdeck tests", "end-to-end tests");
        }
    }

    void move(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
        if (pointer_ != nullptr) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer_, nowMs(), x, y, width, height);
            zwlr_virtual_pointer_v1_frame(pointer_);
        } else {
            org_kde_kwin_fake_input_pointer_motion_absolute(kwin_, wl_fixed_from_int(int(x)),
                                                            wl_fixed_from_int(int(y)));
        }
    }

    void click(uint32_t x, uint32_t y, uint32_t button, uint32_t width, uint32_t height) {
        move(x, y, width, height);
        // The window under the pointer hears of it before the press, as with a hand on a mouse.
        wl_display_roundtrip(display_);
        for (uint32_t state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            if (pointer_ != nullptr) {
                zwlr_virtual_pointer_v1_button(pointer_, nowMs(), button, state);
                zwlr_virtual_pointer_v1_frame(pointer_);
            } else {
                org_kde_kwin_fake_input_button(kwin_, button, state);
            }
        }
    }

    bool keys(const std::vector<uint32_t>& codes) {
        if (kwin_ == nullptr) {
            return false;
        }
        for (uint32_t code : codes) {
            org_kde_kwin_fake_input_keyboard_key(kwin_, code, WL_KEYBOARD_KEY_STATE_PRESSED);
        }
        for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
            org_kde_kwin_fake_input_keyboard_key(kwin_, *code, WL_KEYBOARD_KEY_STATE_RELEASED);
        }
        return true;
    }

  private:
    wl_display* display_;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    org_kde_kwin_fake_input* kwin_ = nullptr;
};

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
        std::fprintf(stderr, "virtual_input: no Wayland display\n");
        return 1;
    }
    Globals globals;
    const wl_registry_listener listener{announce, forget};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    if (globals.wlroots == nullptr && globals.kwin == nullptr) {
        std::fprintf(stderr, "virtual_input: the compositor offers no virtual input\n");
        return 1;
    }
    Device device(display, globals);

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream command(line);
        std::string verb;
        command >> verb;
        uint32_t x = 0;
        uint32_t y = 0;
        uint32_t button = BTN_LEFT;
        std::vector<uint32_t> codes;
        for (uint32_t code = 0; verb == "keys" && command >> code;) {
            codes.push_back(code);
        }
        if (verb == "move" && command >> x >> y) {
            device.move(x, y, width, height);
        } else if (verb == "click" && command >> x >> y) {
            command >> button;
            device.click(x, y, button, width, height);
        } else if (codes.empty() || !device.keys(codes)) {
            std::fprintf(stderr, "virtual_input: cannot do: %s\n", line.c_str());
            return 2;
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "virtual_input: the compositor went away\n");
            return 1;
        }
        std::cout << "done" << std::endl;
    }
    wl_display_disconnect(display);
    return 0;
}
