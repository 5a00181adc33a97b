#include "presentation/band.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glintdeck {
namespace {

TEST(BandTest, BandsAreEnteredHigherThanTheyAreLeft) {
    struct Case {
        std::optional<Band> previous;
        double load;
        Band expected;
    };
    const auto none = std::nullopt;
    const Band calm = Band::calm, busy = Band::busy, hot = Band::hot;
    for (Case c : {Case{none, 49.9, calm},
                   {none, 50, busy},
                   {none, 79.9, busy},
                   {none, 80, hot},
                   {calm, 54.99, calm},
                   {calm, 55, busy},
                   {calm, 90, hot},
                   {busy, 45, busy},
                   {busy, 44.9, calm},
                   {busy, 84.9, busy},
                   {busy, 85, hot},
                   {hot, 75, hot},
                   {hot, 74.9, busy},
                   {hot, 30, calm}}) {
        EXPECT_EQ(classifyBand(StatKind::cpu, c.load, c.previous), c.expected)
            << (c.previous ? static_cast<int>(*c.previous) : -1) << " at " << c.load;
    }
}

TEST(BandTest, BatteryIsInvertedAndNotANumberKeepsTheBand) {
    EXPECT_EQ(classifyBand(StatKind::battery, 15, std::nullopt), Band::hot);
    EXPECT_EQ(classifyBand(StatKind::battery, 60, std::nullopt), Band::calm);
    EXPECT_EQ(classifyBand(StatKind::battery, 30, Band::hot), Band::busy);  // load 70
    EXPECT_EQ(classifyBand(StatKind::memory, 15, std::nullopt), Band::calm);
    for (StatKind kind : {StatKind::cpu, StatKind::battery}) {
        EXPECT_EQ(classifyBand(kind, std::nan(""), Band::hot), Band::hot);
        EXPECT_EQ(classifyBand(kind, std::nan(""), std::nullopt), Band::calm);
    }
}

}  // namespace
}  // namespace glintdeck
