#include "samplers/battery_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

class FixedPowerSource final : public PowerSource {
  public:
    explicit FixedPowerSource(PowerSourceReading reading) : reading_(std::move(reading)) {}
    PowerSourceReading read() override { return reading_; }

  private:
    PowerSourceReading reading_;
};

BatterySample sampleOf(PowerSourceReading reading) {
    ManualExecutor executor;
    std::vector<BatterySample> samples;
    auto sampler = std::make_shared<BatterySampler>(
        executor, 1.0, std::make_unique<FixedPowerSource>(std::move(reading)),
        [&](const BatterySample& sample) { samples.push_back(sample); });
    sampler->start();
    executor.advance(2.5);
    sampler->stop();
    EXPECT_EQ(samples.size(), 3u) << "every tick delivers";
    return samples.empty() ? BatterySample::empty() : samples.back();
}

BatterySample sampleOf(PropertyTable description) {
    return sampleOf(PowerSourceReading{.description = std::move(description)});
}

TEST(BatterySamplerTest, PercentFromCurrentAndMaximumCapacity) {
    struct Row {
        const char* what;
        PropertyTable description;
        double percent;
    };
    for (const Row& row : {
             Row{"maximum missing counts as 100", {{"Current Capacity", 50}}, 50},
             Row{"raw capacities", {{"Current Capacity", 3000}, {"Max Capacity", 6000}}, 50},
             Row{"zero maximum", {{"Current Capacity", 3000}, {"Max Capacity", 0}}, 0},
             Row{"maximum not a number", {{"Current Capacity", 40}, {"Max Capacity", "6000"}}, 40},
             Row{"over full is not clamped", {{"Current Capacity", 105}}, 105},
         }) {
        BatterySample sample = sampleOf(row.description);
        EXPECT_TRUE(sample.isPresent) << row.what;
        EXPECT_DOUBLE_EQ(sample.percent, row.percent) << row.what;
    }
}

TEST(BatterySamplerTest, MinutesComeOnlyFromTheKeyOfTheChargingState) {
    struct Row {
        const char* what;
        PropertyTable description;
        std::optional<int64_t> minutes;
    };
    for (const Row& row : {
             Row{"charging, still calculating",
                 {{"Is Charging", true}, {"Time to Full Charge", -1}, {"Time to Empty", 90}},
                 std::nullopt},
             Row{"discharging ignores the charging key",
                 {{"Is Charging", false}, {"Time to Full Charge", 20}, {"Time to Empty", 135}},
                 135},
             Row{"zero minutes", {{"Time to Empty", 0}}, std::nullopt},
             Row{"fraction dropped", {{"Time to Empty", 1.9}}, 1},
             Row{"not a number", {{"Time to Empty", "135"}}, std::nullopt},
         }) {
        EXPECT_EQ(sampleOf(row.description).minutesRemaining, row.minutes) << row.what;
    }
}

TEST(BatterySamplerTest, OnlyTheExactTextAcPowerMeansOnAC) {
    EXPECT_TRUE(sampleOf({{"Power Source State", "AC Power"}}).isOnAC);
    for (PropertyTable description :
         {PropertyTable{{"Power Source State", "Battery Power"}},
          PropertyTable{{"Power Source State", "ac power"}}, PropertyTable{}}) {
        EXPECT_FALSE(sampleOf(description).isOnAC);
    }
}

TEST(BatterySamplerTest, RegistryGivesHealthCyclesAndTemperature) {
    auto withRegistry = [](PropertyTable registry) {
        return sampleOf(PowerSourceReading{.description = PropertyTable{{"Current Capacity", 80}},
                                           .registry = std::move(registry)});
    };
    BatterySample base{.isPresent = true, .percent = 80};

    BatterySample health = base;
    health.healthPercent = 90;
    EXPECT_EQ(withRegistry({{"AppleRawMaxCapacity", 4500}, {"DesignCapacity", 5000}}), health)
        << "the raw maximum stands in for a missing nominal capacity";
    EXPECT_EQ(withRegistry({{"NominalChargeCapacity", 4500},
                            {"AppleRawMaxCapacity", 1000},
                            {"DesignCapacity", 5000}}),
              health);
    EXPECT_EQ(withRegistry({{"NominalChargeCapacity", 4500}, {"DesignCapacity", 0}}), base);
    EXPECT_EQ(withRegistry({{"DesignCapacity", 5000}}), base) << "no full capacity at all";

    BatterySample details = base;
    details.cycleCount = 412;
    details.temperatureC = 30.12;
    EXPECT_EQ(withRegistry({{"CycleCount", 412}, {"Temperature", 3012}}), details);
    EXPECT_EQ(withRegistry({{"CycleCount", 412.8}, {"Temperature", 3012}}), details)
        << "cycles drop their fraction";
    EXPECT_EQ(withRegistry({{"CycleCount", "412"}, {"Temperature", false}}), base)
        << "values of the wrong type";
}

TEST(BatterySamplerTest, NoPowerSourceGivesTheEmptySampleEvenWithARegistryEntry) {
    EXPECT_EQ(sampleOf(PowerSourceReading{}), BatterySample::empty());
    EXPECT_EQ(sampleOf(PowerSourceReading{.registry = PropertyTable{{"CycleCount", 412}}}),
              BatterySample::empty());
}

}  // namespace
}  // namespace glintdeck
