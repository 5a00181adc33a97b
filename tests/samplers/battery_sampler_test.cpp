#include "samplers/battery_sampler.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

struct FixedPowerSource final : PowerSource {
    explicit FixedPowerSource(PowerSourceReading reading) : reading(std::move(reading)) {}
    PowerSourceReading read() override { return reading; }
    PowerSourceReading reading;
};

BatterySample sampleOf(PowerSourceReading reading) {
    auto samples =
        samplesOf<BatterySampler>(1, std::make_unique<FixedPowerSource>(std::move(reading)));
    return samples.empty() ? BatterySample{} : samples[0];
}

// Percent is not clamped; minutes come only from the key of the charging state (the other may
// hold a stale figure); only the exact text "AC Power" means on AC.
TEST(BatterySamplerTest, FiguresOfThePowerSourceDescription) {
    struct Row {
        const char* what;
        PropertyTable description;
        BatterySample expected;
    };
    for (Row row : {
             Row{"maximum missing counts as 100", {{"Current Capacity", 50}}, {.percent = 50}},
             Row{"raw capacities",
                 {{"Current Capacity", 3000}, {"Max Capacity", 6000}},
                 {.percent = 50}},
             Row{"zero maximum", {{"Current Capacity", 3000}, {"Max Capacity", 0}}, {}},
             Row{"maximum not a number",
                 {{"Current Capacity", 40}, {"Max Capacity", "6000"}},
                 {.percent = 40}},
             Row{"over full", {{"Current Capacity", 105}}, {.percent = 105}},
             Row{"charging, still calculating",
                 {{"Is Charging", true}, {"Time to Full Charge", -1}, {"Time to Empty", 90}},
                 {.isCharging = true}},
             Row{"discharging ignores the charging key",
                 {{"Is Charging", false}, {"Time to Full Charge", 20}, {"Time to Empty", 135}},
                 {.minutesRemaining = 135}},
             Row{"zero minutes", {{"Time to Empty", 0}}, {}},
             Row{"fraction dropped", {{"Time to Empty", 1.9}}, {.minutesRemaining = 1}},
             Row{"minutes not a number", {{"Time to Empty", "135"}}, {}},
             Row{"on AC", {{"Power Source State", "AC Power"}}, {.isOnAC = true}},
             Row{"on battery", {{"Power Source State", "Battery Power"}}, {}},
             Row{"AC in other letters", {{"Power Source State", "ac power"}}, {}},
         }) {
        row.expected.isPresent = true;
        EXPECT_EQ(sampleOf(PowerSourceReading{.description = row.description}), row.expected)
            << row.what;
    }
}

TEST(BatterySamplerTest, RegistryGivesHealthCyclesAndTemperature) {
    using Figures =
        std::tuple<std::optional<double>, std::optional<int64_t>, std::optional<double>>;
    struct Row {
        const char* what;
        PropertyTable registry;
        Figures expected;
    };
    for (const Row& row : {
             Row{"the raw maximum stands in for a missing nominal capacity",
                 {{"AppleRawMaxCapacity", 4500}, {"DesignCapacity", 5000}},
                 {90, {}, {}}},
             Row{"the nominal capacity comes first",
                 {{"NominalChargeCapacity", 4500},
                  {"AppleRawMaxCapacity", 1000},
                  {"DesignCapacity", 5000}},
                 {90, {}, {}}},
             Row{"no design capacity", {{"NominalChargeCapacity", 4500}, {"DesignCapacity", 0}}},
             Row{"no full capacity at all", {{"DesignCapacity", 5000}}},
             Row{"cycles drop their fraction; hundredths of a degree",
                 {{"CycleCount", 412.8}, {"Temperature", 3012}},
                 {{}, 412, 30.12}},
             Row{"values of the wrong type", {{"CycleCount", "412"}, {"Temperature", false}}},
         }) {
        BatterySample sample = sampleOf(PowerSourceReading{
            .description = PropertyTable{{"Current Capacity", 80}}, .registry = row.registry});
        EXPECT_EQ(std::tuple(sample.healthPercent, sample.cycleCount, sample.temperatureC),
                  row.expected)
            << row.what;
    }
    EXPECT_EQ(sampleOf(PowerSourceReading{.registry = PropertyTable{{"CycleCount", 412}}}),
              BatterySample::empty())
        << "no power source, even with a registry entry";
}

}  // namespace
}  // namespace glintdeck
