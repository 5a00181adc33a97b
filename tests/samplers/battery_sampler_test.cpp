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
             Row{"negative maximum", {{"Current Capacity", 3000}, {"Max Capacity", -5}}, 0},
             Row{"maximum not a number", {{"Current Capacity", 40}, {"Max Capacity", "6000"}}, 40},
             Row{"current missing", {{"Max Capacity", 6000}}, 0},
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
             Row{"charging", {{"Is Charging", true}, {"Time to Full Charge", 42}}, 42},
             Row{"zero minutes", {{"Time to Empty", 0}}, std::nullopt},
             Row{"fraction dropped", {{"Time to Empty", 1.9}}, 1},
             Row{"under a minute", {{"Time to Empty", 0.5}}, std::nullopt},
             Row{"not a number", {{"Time to Empty", "135"}}, std::nullopt},
             Row{"charging flag not a boolean", {{"Is Charging", 1}, {"Time to Empty", 7}}, 7},
         }) {
        EXPECT_EQ(sampleOf(row.description).minutesRemaining, row.minutes) << row.what;
    }
}

TEST(BatterySamplerTest, OnlyTheExactTextAcPowerMeansOnAC) {
    EXPECT_TRUE(sampleOf({{"Power Source State", "AC Power"}}).isOnAC);
    for (PropertyTable description : {PropertyTable{{"Power Source State", "Battery Power"}},
                                      PropertyTable{{"Power Source State", "ac power"}},
                                      PropertyTable{{"Power Source State", true}},
                                      PropertyTable{}}) {
        EXPECT_FALSE(sampleOf(description).isOnAC);
    }
}

TEST(BatterySamplerTest, RegistryGivesHealthCyclesAndTemperature) {
    PropertyTable description{{"Current Capacity", 80}};
    struct Row {
        const char* what;
        PropertyTable registry;
        std::optional<double> health;
        std::optional<int64_t> cycles;
        std::optional<double> celsius;
    };
    for (const Row& row : {
             Row{"raw maximum stands in for the nominal capacity",
                 {{"AppleRawMaxCapacity", 4500}, {"DesignCapacity", 5000}},
                 90,
                 std::nullopt,
                 std::nullopt},
             Row{"nominal capacity wins over the raw one",
                 {{"NominalChargeCapacity", 5500}, {"AppleRawMaxCapacity", 4500},
                  {"DesignCapacity", 5000}},
                 110,
                 std::nullopt,
                 std::nullopt},
             Row{"zero design capacity",
                 {{"NominalChargeCapacity", 4500}, {"DesignCapacity", 0}},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt},
             Row{"no full capacity at all", {{"DesignCapacity", 5000}}, std::nullopt,
                 std::nullopt, std::nullopt},
             Row{"temperature in hundredths", {{"Temperature", 3012}}, std::nullopt,
                 std::nullopt, 30.12},
             Row{"cycles", {{"CycleCount", 412}}, std::nullopt, 412, std::nullopt},
             Row{"cycles drop their fraction", {{"CycleCount", 412.8}}, std::nullopt, 412,
                 std::nullopt},
             Row{"values of the wrong type",
                 {{"CycleCount", "412"}, {"Temperature", false}, {"DesignCapacity", "5000"},
                  {"NominalChargeCapacity", 4500}},
                 std::nullopt,
                 std::nullopt,
                 std::nullopt},
         }) {
        BatterySample sample =
            sampleOf(PowerSourceReading{.description = description, .registry = row.registry});
        if (row.health) {
            ASSERT_TRUE(sample.healthPercent.has_value()) << row.what;
            EXPECT_DOUBLE_EQ(*sample.healthPercent, *row.health) << row.what;
        } else {
            EXPECT_EQ(sample.healthPercent, std::nullopt) << row.what;
        }
        EXPECT_EQ(sample.cycleCount, row.cycles) << row.what;
        if (row.celsius) {
            ASSERT_TRUE(sample.temperatureC.has_value()) << row.what;
            EXPECT_DOUBLE_EQ(*sample.temperatureC, *row.celsius) << row.what;
        } else {
            EXPECT_EQ(sample.temperatureC, std::nullopt) << row.what;
        }
    }
}

TEST(BatterySamplerTest, NoPowerSourceGivesTheEmptySampleEvenWithARegistryEntry) {
    EXPECT_EQ(sampleOf(PowerSourceReading{}), BatterySample::empty());
    EXPECT_EQ(sampleOf(PowerSourceReading{.registry = PropertyTable{{"CycleCount", 412}}}),
              BatterySample::empty());
}

}  // namespace
}  // namespace glintdeck
