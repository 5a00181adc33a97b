#include "shell/placement/key_positions.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace glintdeck {

namespace {

// Linux input event codes sit 8 below X keycodes (0-7 are reserved in the X protocol).
constexpr uint32_t xKeycodeOffset = 8;

struct Position {
    uint32_t virtualKeyCode;
    uint32_t inputCode;
};

// Virtual key code of the ANSI layout → Linux input event code of the same position.
// clang-format off
constexpr std::array positions{
    // Letters.
    Position{0x00, KEY_A}, Position{0x01, KEY_S}, Position{0x02, KEY_D}, Position{0x03, KEY_F},
    Position{0x04, KEY_H}, Position{0x05, KEY_G}, Position{0x06, KEY_Z}, Position{0x07, KEY_X},
    Position{0x08, KEY_C}, Position{0x09, KEY_V}, Position{0x0B, KEY_B}, Position{0x0C, KEY_Q},
    Position{0x0D, KEY_W}, Position{0x0E, KEY_E}, Position{0x0F, KEY_R}, Position{0x10, KEY_Y},
    Position{0x11, KEY_T}, Position{0x1F, KEY_O}, Position{0x20, KEY_U}, Position{0x22, KEY_I},
    Position{0x23, KEY_P}, Position{0x25, KEY_L}, Position{0x26, KEY_J}, Position{0x28, KEY_K},
    Position{0x2D, KEY_N}, Position{0x2E, KEY_M},
    // Digit row.
    Position{0x12, KEY_1}, Position{0x13, KEY_2}, Position{0x14, KEY_3}, Position{0x15, KEY_4},
    Position{0x16, KEY_6}, Position{0x17, KEY_5}, Position{0x19, KEY_9}, Position{0x1A, KEY_7},
    Position{0x1C, KEY_8}, Position{0x1D, KEY_0}, Position{0x18, KEY_EQUAL},
    Position{0x1B, KEY_MINUS},
    // Punctuation.
    Position{0x1E, KEY_RIGHTBRACE}, Position{0x21, KEY_LEFTBRACE}, Position{0x27, KEY_APOSTROPHE},
    Position{0x29, KEY_SEMICOLON}, Position{0x2A, KEY_BACKSLASH}, Position{0x2B, KEY_COMMA},
    Position{0x2C, KEY_SLASH}, Position{0x2F, KEY_DOT}, Position{0x32, KEY_GRAVE},
    // The ISO key beside left shift; ANSI boards lack it, but it has a position.
    Position{0x0A, KEY_102ND},
    // Whitespace and editing.
    Position{0x24, KEY_ENTER}, Position{0x30, KEY_TAB}, Position{0x31, KEY_SPACE},
    Position{0x33, KEY_BACKSPACE}, Position{0x35, KEY_ESC}, Position{0x75, KEY_DELETE},
    // Help sits where PC keyboards have Insert.
    Position{0x72, KEY_INSERT}, Position{0x73, KEY_HOME}, Position{0x77, KEY_END},
    Position{0x74, KEY_PAGEUP}, Position{0x79, KEY_PAGEDOWN},
    // Arrows.
    Position{0x7B, KEY_LEFT}, Position{0x7C, KEY_RIGHT}, Position{0x7D, KEY_DOWN},
    Position{0x7E, KEY_UP},
    // Function keys.
    Position{0x7A, KEY_F1}, Position{0x78, KEY_F2}, Position{0x63, KEY_F3},
    Position{0x76, KEY_F4}, Position{0x60, KEY_F5}, Position{0x61, KEY_F6},
    Position{0x62, KEY_F7}, Position{0x64, KEY_F8}, Position{0x65, KEY_F9},
    Position{0x6D, KEY_F10}, Position{0x67, KEY_F11}, Position{0x6F, KEY_F12},
    Position{0x69, KEY_F13}, Position{0x6B, KEY_F14}, Position{0x71, KEY_F15},
    Position{0x6A, KEY_F16}, Position{0x40, KEY_F17}, Position{0x4F, KEY_F18},
    Position{0x50, KEY_F19}, Position{0x5A, KEY_F20},
    // Keypad.
    Position{0x52, KEY_KP0}, Position{0x53, KEY_KP1}, Position{0x54, KEY_KP2},
    Position{0x55, KEY_KP3}, Position{0x56, KEY_KP4}, Position{0x57, KEY_KP5},
    Position{0x58, KEY_KP6}, Position{0x59, KEY_KP7}, Position{0x5B, KEY_KP8},
    Position{0x5C, KEY_KP9}, Position{0x41, KEY_KPDOT}, Position{0x43, KEY_KPASTERISK},
    Position{0x45, KEY_KPPLUS}, Position{0x4B, KEY_KPSLASH}, Position{0x4C, KEY_KPENTER},
    Position{0x4E, KEY_KPMINUS}, Position{0x51, KEY_KPEQUAL},
    // Volume keys.
    Position{0x48, KEY_VOLUMEUP}, Position{0x49, KEY_VOLUMEDOWN}, Position{0x4A, KEY_MUTE},
};
// clang-format on

}  // namespace

std::optional<uint8_t> xKeycode(uint32_t virtualKeyCode) {
    for (const Position& position : positions) {
        if (position.virtualKeyCode == virtualKeyCode) {
            return static_cast<uint8_t>(position.inputCode + xKeycodeOffset);
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> virtualKeyCode(uint32_t xKeycode) {
    for (const Position& position : positions) {
        if (position.inputCode + xKeycodeOffset == xKeycode) {
            return position.virtualKeyCode;
        }
    }
    return std::nullopt;
}

}  // namespace glintdeck
