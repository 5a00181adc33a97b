#include "cli/urgent_stats.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

// The urgent flag used to follow the hot band: a processor busy with a build raised it.
TEST(UrgentStatsTest, OnlyWhatAsksTheUserToActIsUrgent) {
    const BatterySample low{.isPresent = true, .percent = 10};
    const DiskSample roomy{.freeBytes = 25, .totalBytes = 500};
    const TemperatureSample fair{.thermalState = ThermalState::fair};
    EXPECT_EQ(urgentStats(low, fair, roomy), std::vector{StatKind::battery});
    for (const BatterySample& battery : {BatterySample{.isPresent = true, .percent = 11},
                                         {.isPresent = true, .percent = 3, .isCharging = true},
                                         {.isPresent = true, .percent = 3, .isOnAC = true},
                                         {}}) {
        EXPECT_TRUE(urgentStats(battery, fair, roomy).empty()) << battery.percent;
    }
    EXPECT_EQ(urgentStats(low, {.thermalState = ThermalState::serious},
                          {.freeBytes = 24, .totalBytes = 500}),
              (std::vector{StatKind::battery, StatKind::temps, StatKind::disk}));
}

}  // namespace
}  // namespace glintdeck
