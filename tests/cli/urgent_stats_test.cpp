#include "cli/urgent_stats.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

constexpr uint64_t kGB = 1'000'000'000;

// A bar's urgent flag is an alarm: it used to go up for any hot tile, a processor busy with a
// build included, and stayed up for the whole build.
TEST(UrgentStatsTest, OnlyWhatAsksTheUserToActIsUrgent) {
    const BatterySample running{.isPresent = true, .percent = 9};
    const DiskSample roomy{.freeBytes = 60 * kGB, .totalBytes = 500 * kGB};
    const TemperatureSample cool{};
    struct Row {
        const char* what;
        BatterySample battery;
        TemperatureSample temps;
        DiskSample disk;
        std::vector<StatKind> urgent;
    };
    for (const Row& row : {
             Row{"a battery running out", running, cool, roomy, {StatKind::battery}},
             Row{"a battery at 11 %", {.isPresent = true, .percent = 11}, cool, roomy, {}},
             Row{"charging",
                 {.isPresent = true, .percent = 3, .isCharging = true},
                 cool,
                 roomy,
                 {}},
             Row{"on mains power",
                 {.isPresent = true, .percent = 3, .isOnAC = true},
                 cool,
                 roomy,
                 {}},
             Row{"no battery", {}, cool, roomy, {}},
             Row{"fair heat", {}, {.thermalState = ThermalState::fair}, roomy, {}},
             Row{"serious heat",
                 {},
                 {.thermalState = ThermalState::serious},
                 roomy,
                 {StatKind::temps}},
             Row{"critical heat, a full disk and an empty battery",
                 running,
                 {.thermalState = ThermalState::critical},
                 {.freeBytes = 24 * kGB, .totalBytes = 500 * kGB},
                 {StatKind::battery, StatKind::temps, StatKind::disk}},
             Row{"a disk with 5 % free",
                 {},
                 cool,
                 {.freeBytes = 25 * kGB, .totalBytes = 500 * kGB},
                 {}},
             Row{"no disk reading yet", {}, cool, {}, {}},
         }) {
        EXPECT_EQ(urgentStats(row.battery, row.temps, row.disk), row.urgent) << row.what;
    }
}

}  // namespace
}  // namespace glintdeck
