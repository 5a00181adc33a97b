#include "samplers/smc.h"

#include <gtest/gtest.h>

#include "tests/support/fake_smc.h"

namespace glintdeck {
namespace {

TEST(SMCTest, DecodesEveryTypeOfTheTable) {
    struct Row {
        const char* type;
        std::array<uint8_t, 32> bytes;
        std::optional<double> expected;
    };
    for (const Row& row : {
             Row{"sp78", {0x2A, 0x80}, 42.5},
             Row{"sp78", {0xFF, 0x00}, 255.0},  // unsigned: not -1
             Row{"fpe2", {0x1F, 0x40}, 2000.0},
             Row{"fpe2", {0x00, 0x03}, 0.0},  // fraction bits are dropped
             Row{"ui16", {0x01, 0x2C}, 300.0},
             Row{"ui8 ", {0xC8, 0x01}, 200.0},
             Row{"ui32", {0x01, 0x00, 0x00, 0x2A}, 16777258.0},
             Row{"flt ", {0x00, 0x00, 0xC8, 0x42}, 100.0},
             Row{"ui8", {0x05}, std::nullopt},  // the trailing space is part of the type
             Row{"si16", {0x00, 0x05}, std::nullopt},
             Row{"{fds", {0x00, 0x05}, std::nullopt},
         }) {
        EXPECT_EQ(SMC::decode(row.type, row.bytes), row.expected) << row.type;
    }
}

// Long values are cut to 32 bytes; unknown keys, failed calls and empty values read nothing, and
// a failure leaves the connection usable. Malformed keys and a closed client make no call.
TEST(SMCTest, ReadsKeysThroughTheConnection) {
    auto state = std::make_shared<FakeSmcState>();
    state->set("LONG", "ch8*", std::vector<uint8_t>(40, 0x11));
    state->set("ZERO", "ui8 ", {});
    state->set("FAIL", "ui8 ", {1});
    state->failing.insert("FAIL");
    state->set("GOOD", "ui8 ", {7});
    SMC smc(std::make_unique<FakeSmcConnection>(state));

    SMCKeyResult cut = smc.readKey("LONG");
    std::array<uint8_t, 32> bytes;
    bytes.fill(0x11);
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(cut.reading, (SMCReading{"LONG", 40, "ch8*", bytes}));

    for (const char* key : {"ZERO", "NONE", "FAIL"}) EXPECT_EQ(smc.read(key), std::nullopt) << key;
    EXPECT_EQ(smc.read("GOOD"), 7.0);

    const int calls = state->calls;
    for (const char* key : {"", "F1A", "F10Ac", "F\u00e9c"}) {
        EXPECT_EQ(smc.read(key), std::nullopt) << key;
        EXPECT_NE(smc.readKey(key).status, 0) << key;
    }
    smc.close();
    EXPECT_FALSE(smc.isConnected());
    EXPECT_EQ(smc.read("GOOD"), std::nullopt);
    EXPECT_NE(smc.readKey("GOOD").status, 0);
    EXPECT_EQ(state->calls, calls);
}

}  // namespace
}  // namespace glintdeck
