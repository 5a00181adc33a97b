#include "presentation/band.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glintdeck {
namespace {

// A battery's load is how empty it is, and a load that is not a number keeps the band.
TEST(BandTest, BandsAreEnteredHigherThanTheyAreLeft) {
    const std::optional<Band> none;
    const Band calm = Band::calm, busy = Band::busy, hot = Band::hot;
    const StatKind cpu = StatKind::cpu, battery = StatKind::battery;
    const double nan = std::nan("");
    for (auto [kind, previous, load, expected] : {std::tuple{cpu, none, 49.9, calm},
                                                  {cpu, none, 50, busy},
                                                  {cpu, none, 79.9, busy},
                                                  {cpu, none, 80, hot},
                                                  {cpu, calm, 54.99, calm},
                                                  {cpu, calm, 55, busy},
                                                  {cpu, calm, 90, hot},
                                                  {cpu, busy, 45, busy},
                                                  {cpu, busy, 44.9, calm},
                                                  {cpu, busy, 84.9, busy},
                                                  {cpu, busy, 85, hot},
                                                  {cpu, hot, 75, hot},
                                                  {cpu, hot, 74.9, busy},
                                                  {cpu, hot, 30, calm},
                                                  {battery, none, 15, hot},
                                                  {battery, none, 60, calm},
                                                  {battery, hot, 30, busy},  // load 70
                                                  {StatKind::memory, none, 15, calm},
                                                  {cpu, hot, nan, hot},
                                                  {battery, hot, nan, hot},
                                                  {cpu, none, nan, calm},
                                                  {battery, none, nan, calm}}) {
        EXPECT_EQ(classifyBand(kind, load, previous), expected)
            << rawValue(kind) << " from " << (previous ? static_cast<int>(*previous) : -1) << " at "
            << load;
    }
}

}  // namespace
}  // namespace glintdeck
