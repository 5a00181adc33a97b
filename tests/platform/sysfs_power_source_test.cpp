#include "platform/linux/sysfs_power_source.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"
#include "tests/support/manual_clock.h"
#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

// Runs the battery sampler over a machine's tree for one tick, runs between(), and for another
// when there is one; returns the last sample.
BatterySample sampleOnce(const std::string& root, const std::function<void()>& between = {}) {
    SamplerRun<BatterySampler> run;
    run.start(
        std::make_unique<SysfsPowerSource>(root, std::make_shared<ExecutorClock>(run.executor)));
    if (between) {
        between();
        run.tick();
    }
    EXPECT_EQ(run.delivered.size(), between ? 2u : 1u);
    return run.delivered.empty() ? BatterySample::empty() : run.delivered.back();
}

TEST(SysfsPowerSourceTest, MachinesReportTheirBatteries) {
    for (const auto& [fixture, expected] : std::vector<std::pair<const char*, BatterySample>>{
             // Two packs summed: 38 of 45 Wh, draining 9 W in all (253 minutes); health
             // 45 / 46.68 Wh; the first pack's cycle count.
             {"thinkpad-two-batteries",
              {.isPresent = true,
              .percent = 38'000'000.0 / 45'000'000 * 100,
              .minutesRemaining = 253,
              .healthPercent = 45'000'000.0 / 46'680'000 * 100,
              .cycleCount = 412}},
             // µAh only: 2 of 4 Ah charging at 1 A × 12 V, so 24 Wh to go at 12 W.
             {"charge-only-laptop",
              {.isPresent = true,
              .percent = 50,
              .isCharging = true,
              .isOnAC = true,
              .minutesRemaining = 120,
              .healthPercent = 80,
              .temperatureC = 30.1}},
             // Calibrated: 7.231 Ah in a battery that holds 6.936 is full, not 104%; a cycle
             // count of 0 is one the firmware does not keep.
             {"xps-charge-above-full",
              {.isPresent = true,
              .percent = 100,
              .isOnAC = true,
              .healthPercent = 6'936'000.0 / 7'894'000 * 100}},
             // A percentage and the driver's own estimate (7260 s) are all there is.
             {"capacity-only-tablet", {.isPresent = true, .percent = 77, .minutesRemaining = 121}},
             // A UPS and a mouse are not the machine's battery.
             {"desktop-ups-and-mouse", BatterySample::empty()},
             {"no-such-machine", BatterySample::empty()}}) {
        EXPECT_EQ(sampleOnce(fixtureRoot(fixture)), expected) << fixture;
    }
}

TEST(SysfsPowerSourceTest, AnEmptyBayDropsOutAndThePacksThatRemainDescribeTheSource) {
    FixtureTree machine("thinkpad-two-batteries");
    machine.write("sys/class/power_supply/BAT1/present", "0\n");
    BatterySample sample = sampleOnce(machine.root());
    EXPECT_DOUBLE_EQ(sample.percent, 18.0 / 22 * 100);
    ASSERT_TRUE(sample.healthPercent.has_value());
    EXPECT_DOUBLE_EQ(*sample.healthPercent, 22.0 / 23.48 * 100);
}

TEST(SysfsPowerSourceTest, AttributesAreReReadEveryTick) {
    FixtureTree machine("charge-only-laptop");
    BatterySample sample = sampleOnce(machine.root(), [&] {
        machine.write("sys/class/power_supply/BAT1/charge_now", "3000000\n");
        machine.write("sys/class/power_supply/ADP1/online", "0\n");
        machine.write("sys/class/power_supply/BAT1/status", "Discharging\n");
        machine.write("sys/class/power_supply/BAT1/current_now", "-500000\n");
    });
    EXPECT_DOUBLE_EQ(sample.percent, 75);
    EXPECT_FALSE(sample.isOnAC);
    EXPECT_FALSE(sample.isCharging);
    // 3 Ah × 12 V = 36 Wh at 6 W; the 12 W charging rate was forgotten when the flow reversed.
    EXPECT_EQ(sample.minutesRemaining, 360);
}

}  // namespace
}  // namespace glintdeck
