#include "shell/key_positions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace glintdeck {
namespace {

TEST(KeyPositions, VirtualKeyCodesLandOnTheXKeycodesOfTheSamePosition) {
    // X keycodes of a pc105 keyboard on any current server.
    struct Row {
        uint32_t virtualKeyCode;
        uint8_t xKeycode;
    };
    for (const Row& row : {Row{12, 24} /* Q */, Row{35, 33} /* P */, Row{49, 65} /* Space */,
                           Row{53, 9} /* Escape */, Row{43, 59} /* comma */, Row{0, 38} /* A */,
                           Row{36, 36} /* Return */, Row{122, 67} /* F1 */,
                           Row{123, 113} /* left */, Row{126, 111} /* up */}) {
        EXPECT_EQ(xKeycode(row.virtualKeyCode), row.xKeycode) << row.virtualKeyCode;
        EXPECT_EQ(virtualKeyCode(row.xKeycode), row.virtualKeyCode) << int(row.xKeycode);
    }
}

TEST(KeyPositions, EveryPositionMapsBackToItsOwnCode) {
    // A code listed twice would make the recorder store a different key than was pressed.
    int mapped = 0;
    for (uint32_t code = 0; code < 128; ++code) {
        if (const std::optional<uint8_t> x = xKeycode(code)) {
            EXPECT_EQ(virtualKeyCode(*x), code) << code;
            ++mapped;
        }
    }
    EXPECT_GT(mapped, 100);
}

TEST(KeyPositions, ModifierKeysAndUnknownCodesHaveNoPosition) {
    // Command, shift, caps lock, option, control (left and right), fn; never a combination's key.
    for (uint32_t code :
         {0x36u, 0x37u, 0x38u, 0x39u, 0x3Au, 0x3Bu, 0x3Cu, 0x3Du, 0x3Eu, 0x3Fu, 0x34u, 500u}) {
        EXPECT_EQ(xKeycode(code), std::nullopt) << code;
    }
    // Left control, left shift, left super, Num Lock.
    for (uint32_t x : {37u, 50u, 133u, 77u, 0u, 255u}) {
        EXPECT_EQ(virtualKeyCode(x), std::nullopt) << x;
    }
}

}  // namespace
}  // namespace glintdeck
