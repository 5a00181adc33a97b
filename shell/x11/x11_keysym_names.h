#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glintdeck {

// The name of the keysym the current keymap puts at a stored key position, unshifted and in
// the first layout ("q" at the Q position of a US keyboard, "a" there under AZERTY, "comma"),
// as desktops that bind keys by name expect it. Absent without an X connection, for a code
// without a position, or where this keyboard has no symbol there.
[[nodiscard]] std::optional<std::string> keysymNameAt(uint32_t virtualKeyCode);

}  // namespace glintdeck
