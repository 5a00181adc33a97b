#include <gtest/gtest.h>

#include "samplers/ioreport_power.h"
#include "samplers/power_sampler.h"
#include "tests/support/fake_smc.h"
#include "tests/support/manual_clock.h"
#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

// Hands out scripted readings; with a clock, each read first moves it on by a second.
struct ScriptedCounter final : EnergyCounter {
    ScriptedCounter(Script<uint64_t> script, std::shared_ptr<ManualClock> clock)
        : script(std::move(script)), clock(std::move(clock)) {}
    std::optional<uint64_t> read() override {
        if (clock) clock->now += 1;
        return script.next();
    }
    Script<uint64_t> script;
    std::shared_ptr<ManualClock> clock;
};

EnergyChannel channel(std::string name, std::string unit,
                      std::deque<std::optional<uint64_t>> script,
                      std::string group = "Energy Model", int format = 1,
                      std::shared_ptr<ManualClock> advancing = nullptr) {
    return {std::move(group), std::move(name), std::move(unit), format,
            std::make_unique<ScriptedCounter>(Script<uint64_t>{std::move(script)},
                                              std::move(advancing))};
}

template <typename... Channels>
std::vector<EnergyChannel> channels(Channels... each) {
    std::vector<EnergyChannel> list;
    (list.push_back(std::move(each)), ...);
    return list;
}

TEST(EnergyReaderTest, EnergyPerUnitBecomesWatts) {
    struct Row {
        const char* unit;
        uint64_t energy;
        double watts;
    };
    for (const Row& row : {
             Row{"mJ", 2000, 2.0},
             Row{"uJ", 2'000'000, 2.0},
             Row{"\u00B5J", 2'000'000, 2.0},  // micro sign
             Row{"\u03BCJ", 2'000'000, 2.0},  // Greek mu
             Row{" uJ\n", 2'000'000, 2.0},    // surrounding white space
             Row{"nJ", 3'000'000'000, 3.0},
             // unrecognised: millijoules
             Row{"J", 4000, 4.0},
         }) {
        auto clock = std::make_shared<ManualClock>();
        IOReportPower power(channels(channel("CPU Energy", row.unit, {0, row.energy})), clock);
        EXPECT_EQ(power.sample(), std::nullopt) << "the first call only records";
        clock->now += 1;
        EXPECT_EQ(power.sample(), DomainPower{.cpu = row.watts}) << row.unit;
    }
}

TEST(EnergyReaderTest, ChannelsCountTowardOneDomainByName) {
    auto clock = std::make_shared<ManualClock>();
    IOReportPower power(
        channels(
            channel("ECPU CPU Energy", "mJ", {0, 1000}),  // cluster prefixes
            channel("PCPU1 CPU Energy", "mJ", {0, 2000}), channel("GPU Energy", "mJ", {0, 500}),
            channel("GPU Energy SRAM", "mJ", {0, 9000}),  // begins, goes on: no
            channel("ANE0", "mJ", {0, 250}), channel("DRAM0", "mJ", {0, 125}),
            channel("DISP", "mJ", {0, 9000}), channel("CPU Energy", "mJ", {0, 9000}, "CPU Stats"),
            channel("CPU Energy", "mJ", {0, 9000}, "Energy Model", 2)),
        clock);
    EXPECT_TRUE(power.isAvailable());
    EXPECT_EQ(power.sample(), std::nullopt);
    clock->now += 1;
    EXPECT_EQ(power.sample(), (DomainPower{.cpu = 3, .gpu = 0.5, .ane = 0.25, .dram = 0.125}));
}

TEST(EnergyReaderTest, ElapsedTimeComesFromTheClock) {
    auto clock = std::make_shared<ManualClock>();
    IOReportPower power(
        channels(channel("CPU Energy", "mJ", {0, 400, 1000, std::nullopt, 3000, 4000})), clock);
    EXPECT_EQ(power.sample(), std::nullopt);
    EXPECT_EQ(power.sample(), std::nullopt) << "no time passed: nothing, but a new baseline";
    clock->now += 2;
    EXPECT_EQ(power.sample(), DomainPower{.cpu = 0.3});  // 600 mJ over 2 s
    clock->now += 1;
    EXPECT_EQ(power.sample(), std::nullopt) << "nothing could be read";
    clock->now += 1;
    EXPECT_EQ(power.sample(), DomainPower{.cpu = 1.0}) << "measured from the last good sample";
    clock->now += 1;
    EXPECT_EQ(power.sample(), DomainPower{.cpu = 1.0});
}

std::vector<PowerSample> runPower(std::deque<std::optional<uint64_t>> cpuEnergy,
                                  std::shared_ptr<FakeSmcState> smc) {
    auto clock = std::make_shared<ManualClock>();
    auto ticks = static_cast<int>(cpuEnergy.size());
    auto makeReader = [&] {
        return std::make_unique<IOReportPower>(
            channels(channel("CPU Energy", "mJ", cpuEnergy, "Energy Model", 1, clock)), clock);
    };
    return samplesOf<PowerSampler>(ticks, PowerSampler::ReaderFactory(makeReader),
                                   fakeSmcOpener(std::move(smc)));
}

TEST(PowerSamplerTest, LoadIsRelativeToTheHighestTotalOfTheRun) {
    auto samples = runPower({0, 10'000, 30'000, 35'000}, std::make_shared<FakeSmcState>());
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0], (PowerSample{.isAvailable = true}));
    std::vector<double> loads;
    for (size_t i = 1; i < samples.size(); ++i) loads.push_back(samples[i].loadPercent);
    EXPECT_EQ(loads, (std::vector<double>{100, 100, 25}));  // 10 W, 20 W, 5 W
    EXPECT_EQ(samples[3].cpuWatts, 5);
}

TEST(PowerSamplerTest, ControllerFiguresAppearOnlyForKeysThatAnsweredAtStart) {
    auto smc = std::make_shared<FakeSmcState>();
    smc->setFloat("PSTR", 42.5f);
    auto samples = runPower({0, 1000, 2000}, smc);
    ASSERT_EQ(samples.size(), 3u);
    for (const PowerSample& s : samples) {
        EXPECT_EQ(s.systemWatts, 42.5);
        EXPECT_EQ(s.dcInWatts, std::nullopt);
    }

    auto silent = std::make_shared<FakeSmcState>();
    samples = runPower({0, 1000}, silent);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples.back().systemWatts, std::nullopt);
    EXPECT_EQ(samples.back().dcInWatts, std::nullopt);
    EXPECT_EQ(silent->calls, 4) << "each key probed once (two calls) at start, then closed";
}

}  // namespace
}  // namespace glintdeck
