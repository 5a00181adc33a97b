#pragma once

#include <cstdint>
#include <string>

#include "settings/hot_key_binding.h"

namespace glintdeck {

// Key combinations as Linux desktops write them, for every text the user reads: the modifiers in
// the order Ctrl, Alt, Shift, Super, then the key, joined by "+" ("Ctrl+Alt+Super+Q",
// "Super+,"). Bindings are stored as before; HotKeyBinding's own glyph texts stay the stored
// format's and are not shown.
[[nodiscard]] std::string keyText(const HotKeyBinding& binding);

// The key alone: "Q", ",", "Return", "Esc", "Page Up", "Num+5", "F13"; a code without a name
// reads "key " and the code.
[[nodiscard]] std::string keyText(uint32_t keyCode);

}  // namespace glintdeck
