#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glintdeck {

// How a key combination is written for the desktops that bind it in Wayland sessions, from the
// stored modifier mask (HotKeyBinding's bits) and the keysym name the current keymap gives the
// key's position ("q", "comma", "F5"; X11's and xkbcommon's names are the same).

// The shortcut format of the desktop portal: "CTRL+ALT+LOGO+q", modifiers in the fixed order
// CTRL, ALT, SHIFT, LOGO. Backends bind nothing, silently, for any other spelling.
[[nodiscard]] std::string portalTrigger(uint32_t modifiers, std::string_view keysym);

// The desktops whose own way of binding a command to a key Glintdeck can explain.
enum class ShortcutDesktop { gnome, kde, sway, hyprland, other };

// One sentence telling the user how to bind the command to the combination on their desktop,
// and the text a Copy button puts on the clipboard: the whole configuration line where the
// desktop reads one, otherwise the command.
struct BindingInstruction {
    std::string sentence;
    std::string copyText;
    bool operator==(const BindingInstruction&) const = default;
};
[[nodiscard]] BindingInstruction bindingInstruction(ShortcutDesktop desktop, uint32_t modifiers,
                                                    std::string_view keysym,
                                                    std::string_view command);

}  // namespace glintdeck
