#pragma once

#include <Qt>

#include <cstdint>

namespace glintdeck {

// The stored modifier mask of a key event's modifiers: Meta (the Super key on X11)
// gives command 0x0100, Alt option 0x0800, Control control 0x1000, Shift shift 0x0200.
// Keypad, group switch and every other flag are ignored.
[[nodiscard]] uint32_t storedModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace glintdeck
