#include "shell/placement/key_positions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace glintdeck {
namespace {

// A stored key is a position: it must land on the X keycode of that position on a pc105
// keyboard (Q and P are the default summon and pin keys, Escape the recorder's cancel key), and
// map back to the same code, or the recorder would store a different key than was pressed. The
// modifier keys themselves (Super, Shift, Caps Lock, Alt, Control on both sides) are never a
// combination's key.
TEST(KeyPositions, PositionsMapBothWaysAndModifierKeysHaveNone) {
    for (auto [code, x] : {std::pair{12u, 24}, {35u, 33}, {53u, 9}}) {
        EXPECT_EQ(xKeycode(code), x) << code;
    }
    int mapped = 0;
    for (uint32_t code = 0; code < 128; ++code) {
        if (const std::optional<uint8_t> x = xKeycode(code)) {
            EXPECT_EQ(virtualKeyCode(*x), code) << code;
            ++mapped;
        }
    }
    EXPECT_GT(mapped, 100);
    for (uint32_t code : {0x36u, 0x37u, 0x38u, 0x39u, 0x3Au, 0x3Bu, 0x3Cu, 0x3Du, 0x3Eu, 500u}) {
        EXPECT_EQ(xKeycode(code), std::nullopt) << code;
    }
    // Left control, left shift, left super, Num Lock, and codes outside the keymap.
    for (uint32_t x : {37u, 50u, 133u, 77u, 0u, 255u}) {
        EXPECT_EQ(virtualKeyCode(x), std::nullopt) << x;
    }
}

}  // namespace
}  // namespace glintdeck
