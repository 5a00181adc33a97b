#include "shell/x11/x11_keysym_names.h"

#include <X11/Xlib.h>
#include <xcb/xcb_keysyms.h>

#include <memory>

#include "shell/placement/key_positions.h"
#include "shell/x11/x11_connection.h"

namespace glintdeck {

std::optional<std::string> keysymNameAt(uint32_t virtualKeyCode) {
    xcb_connection_t* connection = x11::connection();
    const std::optional<uint8_t> keycode = xKeycode(virtualKeyCode);
    if (connection == nullptr || !keycode) return std::nullopt;
    // Asked afresh each time: the keymap may have changed since, and this runs once per bind.
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(
        xcb_key_symbols_alloc(connection), &xcb_key_symbols_free);
    if (!symbols) return std::nullopt;
    const xcb_keysym_t keysym = xcb_key_symbols_get_keysym(symbols.get(), *keycode, 0);
    // XKeysymToString only reads a static table; it needs no Xlib display.
    const char* name = keysym != XCB_NO_SYMBOL ? XKeysymToString(keysym) : nullptr;
    if (name == nullptr) return std::nullopt;
    return std::string(name);
}

}  // namespace glintdeck
