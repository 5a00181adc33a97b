#pragma once

#include <cstdint>
#include <optional>

namespace glintdeck {

// Stored hot keys name a key position by the virtual key code of the ANSI layout (12 is the
// key left of W, printed Q on a US keyboard), never by the character it types. X keycodes are
// positions too: every current X server (Xorg with evdev or libinput, Xvfb, XWayland) gives a
// key the Linux input event code of its position plus 8. So one table of positions keeps a
// summon key on the same physical keys under AZERTY, Dvorak or a Cyrillic layout.
//
// Modifier keys, caps lock, fn and the keypad's clear key have no entry: they are never the
// key of a combination, and a recorder must ignore their presses.

// The X keycode at the position of a virtual key code; absent for codes without a position.
[[nodiscard]] std::optional<uint8_t> xKeycode(uint32_t virtualKeyCode);

// The virtual key code of an X keycode's position; absent for keys the table does not know.
[[nodiscard]] std::optional<uint32_t> virtualKeyCode(uint32_t xKeycode);

}  // namespace glintdeck
