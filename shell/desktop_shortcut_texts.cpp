#include "shell/desktop_shortcut_texts.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "settings/hot_key_binding.h"

namespace glintdeck {
namespace {

struct ModifierNames {
    uint32_t bit;
    std::string_view portal;
    std::string_view sway;
    std::string_view hyprland;
};

// In the portal's order; sway knows Alt as Mod1 and Super as Mod4.
constexpr std::array kModifiers{
    ModifierNames{HotKeyBinding::control, "CTRL", "Ctrl", "CTRL"},
    ModifierNames{HotKeyBinding::option, "ALT", "Mod1", "ALT"},
    ModifierNames{HotKeyBinding::shift, "SHIFT", "Shift", "SHIFT"},
    ModifierNames{HotKeyBinding::command, "LOGO", "Mod4", "SUPER"},
};

std::string joined(uint32_t modifiers, std::string_view ModifierNames::*name,
                   std::string_view separator) {
    std::string text;
    for (const ModifierNames& modifier : kModifiers) {
        if ((modifiers & modifier.bit) == 0) continue;
        if (!text.empty()) text += separator;
        text += modifier.*name;
    }
    return text;
}

// The command as a shell reads it back: quoted when it holds anything but plain path characters.
std::string shellWord(std::string_view command) {
    const bool plain = !command.empty() && std::ranges::all_of(command, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) ||
               std::string_view("/._-+").find(c) != std::string_view::npos;
    });
    if (plain) return std::string(command);
    std::string quoted = "'";
    for (char c : command) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

}  // namespace

std::string portalTrigger(uint32_t modifiers, std::string_view keysym) {
    std::string trigger = joined(modifiers, &ModifierNames::portal, "+");
    if (!trigger.empty()) trigger += '+';
    return trigger + std::string(keysym);
}

BindingInstruction bindingInstruction(ShortcutDesktop desktop, uint32_t modifiers,
                                      std::string_view keysym, std::string_view command) {
    const std::string word = shellWord(command);
    switch (desktop) {
        case ShortcutDesktop::sway: {
            std::string combination = joined(modifiers, &ModifierNames::sway, "+");
            if (!combination.empty()) combination += '+';
            std::string line = "bindsym " + combination + std::string(keysym) + " exec " + word;
            return {"Add " + quoted(line) + " to your sway config, then reload it.", line};
        }
        case ShortcutDesktop::hyprland: {
            std::string line = "bind = " + joined(modifiers, &ModifierNames::hyprland, " ") + ", " +
                               std::string(keysym) + ", exec, " + word;
            return {"Add " + quoted(line) + " to your hyprland.conf.", line};
        }
        case ShortcutDesktop::gnome:
            return {"Add a custom shortcut that runs " + quoted(word) +
                        " in Settings › Keyboard › Keyboard Shortcuts.",
                    word};
        case ShortcutDesktop::kde:
            return {"Add a custom shortcut that runs " + quoted(word) +
                        " in System Settings › Shortcuts.",
                    word};
        case ShortcutDesktop::other:
            break;
    }
    return {"Bind the command " + quoted(word) + " to a key in your desktop’s shortcut settings.",
            word};
}

}  // namespace glintdeck
