#pragma once

#include <cstdint>
#include <string>

namespace glintdeck {

// A global key combination as it is stored: a virtual key code naming a key position of the
// ANSI layout (12 is the Q position whatever the keyboard layout prints on it) and a modifier
// mask of four bits. The shell's hot-key service names this type HotKeyService::Binding; key
// codes map to X keycodes there. In the comments below ⌘ stands for Super, ⌥ for Alt and ⌃
// for Control; what the user reads comes from keyText (key_text.h).
struct HotKeyBinding {
    // The stored modifier bits: command is the Super key, option the Alt key.
    static constexpr uint32_t command = 0x0100;
    static constexpr uint32_t shift = 0x0200;
    static constexpr uint32_t option = 0x0800;
    static constexpr uint32_t control = 0x1000;

    uint32_t keyCode = 0;
    uint32_t modifiers = 0;

    bool operator==(const HotKeyBinding&) const = default;

    // ⌃⌥⌘Q: the summon key, and P with the same modifiers for "Keep on Screen".
    [[nodiscard]] static constexpr HotKeyBinding defaultSummon() {
        return {12, control | option | command};
    }
    [[nodiscard]] static constexpr HotKeyBinding defaultPin() {
        return {35, control | option | command};
    }
    // Super+comma, which opens the settings window while the strip shows; not stored.
    [[nodiscard]] static HotKeyBinding openSettings() { return {43, command}; }

    // "Q", "1", "Space", "↩", "F5"...; a code without a name reads "key " and the code.
    [[nodiscard]] static std::string keyName(uint32_t keyCode);
};

}  // namespace glintdeck
