#include "platform/linux/power_source_description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glintdeck {
namespace {

BatteryReading draining(double watts, int64_t storedMicroWattHours = 40'000'000) {
    return BatteryReading{.status = "Discharging",
                          .energyNow = storedMicroWattHours,
                          .energyFull = 50'000'000,
                          .powerNow = static_cast<int64_t>(watts * 1e6)};
}

std::optional<double> minutes(const PowerSourceReading& reading, const char* key) {
    return reading.description ? numberAt(*reading.description, key) : std::nullopt;
}

std::optional<double> emptyIn(PowerSourceDescriber& describer, BatteryReading battery, double now) {
    return minutes(describer.describe({.batteries = {std::move(battery)}}, now), "Time to Empty");
}

TEST(PowerSourceDescriberTest,
     TimeEstimateHoldsSteadyWhileTheDrainRateJittersAndFollowsRealChange) {
    PowerSourceDescriber describer;
    std::optional<double> previous;
    // 8 W and 12 W in turn: raw estimates would jump between 300 and 200 minutes every second.
    for (int second = 0; second < 180; ++second) {
        auto estimate = emptyIn(describer, draining(second % 2 ? 12 : 8), second);
        ASSERT_TRUE(estimate.has_value()) << "a figure from the first known rate on";
        if (previous) {
            EXPECT_LT(std::abs(*estimate - *previous), 3) << "second " << second;
        }
        previous = estimate;
    }
    EXPECT_NEAR(*previous, 240, 5) << "settles on the mean rate of 10 W";
    // A build starts and the drain doubles.
    for (int second = 180; second < 480; ++second) {
        previous = emptyIn(describer, draining(20), second);
    }
    EXPECT_NEAR(*previous, 120, 2);
}

TEST(PowerSourceDescriberTest, ImplausibleRatesGiveNoFigureAndDoNotSkewTheAverage) {
    PowerSourceDescriber describer;
    EXPECT_EQ(emptyIn(describer, draining(0.05), 0), std::nullopt) << "idling gauge";
    EXPECT_EQ(emptyIn(describer, draining(500), 1), std::nullopt) << "nonsense";
    EXPECT_NEAR(*emptyIn(describer, draining(10), 2), 240, 1e-9);
    EXPECT_NEAR(*emptyIn(describer, draining(500), 3), 240, 1e-9) << "spike ignored";
}

TEST(PowerSourceDescriberTest, EnergyFlowingInGivesTimeToFullOnlyWhileCharging) {
    PowerSourceDescriber describer;
    BatteryReading charging = draining(-25);  // a driver that signs the rate
    charging.status = "Charging";
    PowerSourceReading reading = describer.describe({.batteries = {charging}}, 0);
    EXPECT_NEAR(*minutes(reading, "Time to Full Charge"), 10.0 / 25 * 60, 1e-9);
    EXPECT_EQ(minutes(reading, "Time to Empty"), std::nullopt);

    BatteryReading full = draining(0.3, 50'000'000);
    full.status = "Full";
    reading = describer.describe({.batteries = {full}, .onLinePower = true}, 1);
    EXPECT_EQ(minutes(reading, "Time to Full Charge"), std::nullopt);
    EXPECT_EQ(minutes(reading, "Time to Empty"), std::nullopt);
}

TEST(PowerSourceDescriberTest, MixedUnitsLeaveTheFirstBatteryAlone) {
    BatteryReading energy = draining(10);
    BatteryReading charge{.status = "Discharging",
                          .chargeNow = 1'000'000,
                          .chargeFull = 4'000'000,
                          .chargeFullDesign = 5'000'000,
                          .currentNow = -500'000};
    PowerSourceDescriber describer;
    PowerSourceReading reading = describer.describe({.batteries = {charge, energy}}, 0);
    EXPECT_EQ(numberAt(*reading.description, "Current Capacity"), 1'000'000);
    EXPECT_EQ(numberAt(*reading.description, "Max Capacity"), 4'000'000);
    EXPECT_EQ(numberAt(*reading.registry, "DesignCapacity"), 5'000'000);
    EXPECT_EQ(minutes(reading, "Time to Empty"), std::nullopt)
        << "a charge without a voltage is no energy";
}

TEST(PowerSourceDescriberTest, ABatteryAboveItsFullChargeIsFull) {
    // Two packs, one reporting more than its full charge after a calibration: it counts as
    // full, and time to full comes from what the other still lacks.
    BatteryReading calibrated = draining(10, 52'000'000);
    BatteryReading other = draining(10, 30'000'000);
    for (BatteryReading* battery : {&calibrated, &other}) battery->status = "Charging";
    PowerSourceDescriber describer;
    PowerSourceReading reading = describer.describe({.batteries = {calibrated, other}}, 0);
    EXPECT_EQ(numberAt(*reading.description, "Current Capacity"), 80'000'000);
    EXPECT_EQ(numberAt(*reading.description, "Max Capacity"), 100'000'000);
    EXPECT_NEAR(*minutes(reading, "Time to Full Charge"), 20.0 / 20 * 60, 1e-9);
}

// Regression: two gauges reporting the largest value the kernel can print overflowed the sum
// (undefined behaviour; in practice a negative capacity), as did the temperature's scaling.
TEST(PowerSourceDescriberTest, ValuesWhoseSumOrScaleDoesNotFitAreNoValues) {
    constexpr int64_t kHuge = std::numeric_limits<int64_t>::max();
    BatteryReading broken{.status = "Discharging",
                          .energyNow = kHuge,
                          .energyFull = kHuge,
                          .energyFullDesign = kHuge,
                          .powerNow = 10'000'000,
                          .temp = kHuge};
    BatteryReading sound = draining(10);
    sound.energyFullDesign = 60'000'000;
    PowerSourceDescriber describer;
    PowerSourceReading reading = describer.describe({.batteries = {broken, sound}}, 0);
    for (const char* key : {"Current Capacity", "Max Capacity"}) {
        EXPECT_EQ(numberAt(*reading.description, key), std::nullopt) << key;
    }
    for (const char* key : {"DesignCapacity", "NominalChargeCapacity", "Temperature"}) {
        EXPECT_EQ(numberAt(*reading.registry, key), std::nullopt) << key;
    }
    EXPECT_EQ(booleanAt(*reading.description, "Is Charging"), false) << "the rest still reads";
}

}  // namespace
}  // namespace glintdeck
