#include "shell/placement/desktop_shortcut_texts.h"

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
    std::string_view spoken;  // as a person reads it
};

// In the portal's order; sway knows Alt as Mod1 and Super as Mod4.
constexpr std::array kModifiers{
    ModifierNames{HotKeyBinding::control, "CTRL", "Ctrl", "CTRL", "Ctrl"},
    ModifierNames{HotKeyBinding::option, "ALT", "Mod1", "ALT", "Alt"},
    ModifierNames{HotKeyBinding::shift, "SHIFT", "Shift", "SHIFT", "Shift"},
    ModifierNames{HotKeyBinding::command, "LOGO", "Mod4", "SUPER", "Super"},
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

// The modifiers and the key joined by '+', in the names of one column.
std::string combination(uint32_t modifiers, std::string_view ModifierNames::*name,
                        std::string_view keysym) {
    std::string text = joined(modifiers, name, "+");
    if (!text.empty()) text += '+';
    return text + std::string(keysym);
}

// The combination as the desktops' shortcut dialogs show it once pressed: "Ctrl+Alt+Super+Q",
// a letter key in capitals.
std::string spokenCombination(uint32_t modifiers, std::string_view keysym) {
    std::string key(keysym);
    if (key.size() == 1) {
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    }
    return combination(modifiers, &ModifierNames::spoken, key);
}

// Where the user creates a custom shortcut in the desktop's settings: what it runs, and the
// combination to give it.
std::string customShortcut(std::string_view where, std::string_view word, uint32_t modifiers,
                           std::string_view keysym) {
    return "In " + std::string(where) + ", add a custom shortcut that runs " + quoted(word) +
           ", for example on " + spokenCombination(modifiers, keysym) + ".";
}

}  // namespace

std::string portalTrigger(uint32_t modifiers, std::string_view keysym) {
    return combination(modifiers, &ModifierNames::portal, keysym);
}

BindingInstruction bindingInstruction(ShortcutDesktop desktop, uint32_t modifiers,
                                      std::string_view keysym, std::string_view command) {
    const std::string word = shellWord(command);
    switch (desktop) {
        case ShortcutDesktop::sway: {
            std::string line =
                "bindsym " + combination(modifiers, &ModifierNames::sway, keysym) + " exec " + word;
            return {"Add " + quoted(line) + " to your sway config, then reload it.", line};
        }
        case ShortcutDesktop::hyprland: {
            std::string line = "bind = " + joined(modifiers, &ModifierNames::hyprland, " ") + ", " +
                               std::string(keysym) + ", exec, " + word;
            return {"Add " + quoted(line) + " to your hyprland.conf.", line};
        }
        case ShortcutDesktop::gnome:
            return {
                customShortcut("Settings › Keyboard › Keyboard Shortcuts", word, modifiers, keysym),
                word};
        case ShortcutDesktop::kde:
            return {customShortcut("System Settings › Shortcuts", word, modifiers, keysym), word};
        case ShortcutDesktop::other:
            break;
    }
    return {"Bind the command " + quoted(word) + " to a key in your desktop’s shortcut settings.",
            word};
}

}  // namespace glintdeck
