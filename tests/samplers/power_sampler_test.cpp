#include <gtest/gtest.h>

#include <deque>

#include "samplers/ioreport_power.h"
#include "samplers/power_sampler.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_smc.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// Hands out scripted readings, one per read; nothing once the script runs out.
class ScriptedCounter final : public EnergyCounter {
  public:
    explicit ScriptedCounter(std::deque<std::optional<uint64_t>> script)
        : script_(std::move(script)) {}
    std::optional<uint64_t> read() override {
        if (script_.empty()) return std::nullopt;
        auto next = script_.front();
        script_.pop_front();
        return next;
    }

  private:
    std::deque<std::optional<uint64_t>> script_;
};

EnergyChannel channel(std::string name, std::string unit,
                      std::deque<std::optional<uint64_t>> script,
                      std::string group = "Energy Model", int format = 1) {
    return {std::move(group), std::move(name), std::move(unit), format,
            std::make_unique<ScriptedCounter>(std::move(script))};
}

// Power over one interval of the given length, the channel counting from 0 to energy.
std::optional<DomainPower> overOneInterval(EnergyChannel only, double seconds) {
    auto clock = std::make_shared<FakeClock>();
    std::vector<EnergyChannel> channels;
    channels.push_back(std::move(only));
    IOReportPower reader(std::move(channels), clock);
    EXPECT_EQ(reader.sample(), std::nullopt) << "the first call only records";
    clock->now += seconds;
    return reader.sample();
}

TEST(EnergyReaderTest, EnergyPerUnitBecomesWatts) {
    struct Row {
        const char* unit;
        uint64_t energy;
        double seconds;
        double watts;
    };
    for (const Row& row : {
             Row{"mJ", 2000, 2.0, 1.0},
             Row{"uJ", 2'000'000, 1.0, 2.0},
             Row{"\u00B5J", 2'000'000, 1.0, 2.0},  // micro sign
             Row{"\u03BCJ", 2'000'000, 1.0, 2.0},  // Greek mu
             Row{" uJ\n", 2'000'000, 1.0, 2.0},    // surrounding white space
             Row{"nJ", 3'000'000'000, 1.0, 3.0},
             Row{"J", 4000, 1.0, 4.0},  // unrecognised: millijoules
             Row{"", 4000, 1.0, 4.0},
         }) {
        auto power = overOneInterval(channel("CPU Energy", row.unit, {0, row.energy}), row.seconds);
        ASSERT_TRUE(power.has_value()) << row.unit;
        EXPECT_DOUBLE_EQ(power->cpu, row.watts) << row.unit;
    }
}

TEST(EnergyReaderTest, ChannelsCountTowardOneDomainByName) {
    auto clock = std::make_shared<FakeClock>();
    std::vector<EnergyChannel> channels;
    channels.push_back(channel("ECPU CPU Energy", "mJ", {0, 1000}));  // cluster prefixes
    channels.push_back(channel("PCPU1 CPU Energy", "mJ", {0, 2000}));
    channels.push_back(channel("GPU Energy", "mJ", {0, 500}));
    channels.push_back(channel("GPU Energy SRAM", "mJ", {0, 9000}));  // begins, goes on: no
    channels.push_back(channel("ANE0", "mJ", {0, 250}));
    channels.push_back(channel("DRAM0", "mJ", {0, 125}));
    channels.push_back(channel("DISP", "mJ", {0, 9000}));
    channels.push_back(channel("CPU Energy", "mJ", {0, 9000}, "CPU Stats"));
    channels.push_back(channel("CPU Energy", "mJ", {0, 9000}, "Energy Model", 2));
    IOReportPower reader(std::move(channels), clock);
    EXPECT_TRUE(reader.isAvailable());
    EXPECT_EQ(reader.sample(), std::nullopt);
    clock->now += 1;
    EXPECT_EQ(reader.sample(), (DomainPower{.cpu = 3, .gpu = 0.5, .ane = 0.25, .dram = 0.125}));
}

TEST(EnergyReaderTest, ElapsedTimeComesFromTheClock) {
    auto clock = std::make_shared<FakeClock>();
    std::vector<EnergyChannel> channels;
    channels.push_back(channel("CPU Energy", "mJ", {0, 400, 1000, std::nullopt, 3000, 4000}));
    IOReportPower reader(std::move(channels), clock);
    EXPECT_EQ(reader.sample(), std::nullopt);
    EXPECT_EQ(reader.sample(), std::nullopt) << "no time passed: nothing, but a new baseline";
    clock->now += 2;
    EXPECT_EQ(reader.sample(), DomainPower{.cpu = 0.3});  // 600 mJ over 2 s
    clock->now += 1;
    EXPECT_EQ(reader.sample(), std::nullopt) << "nothing could be read";
    clock->now += 1;
    EXPECT_EQ(reader.sample(), DomainPower{.cpu = 1.0}) << "measured from the last good sample";
    clock->now += 1;
    EXPECT_EQ(reader.sample(), DomainPower{.cpu = 1.0});
}

std::vector<PowerSample> runPower(std::vector<uint64_t> cpuEnergy,
                                  std::shared_ptr<FakeSmcState> smc) {
    ManualExecutor executor;
    auto clock = std::make_shared<FakeClock>();
    std::vector<PowerSample> samples;
    std::deque<std::optional<uint64_t>> script(cpuEnergy.begin(), cpuEnergy.end());
    auto sampler = std::make_shared<PowerSampler>(
        executor, 1.0,
        [&] {
            std::vector<EnergyChannel> channels;
            channels.push_back(channel("CPU Energy", "mJ", script));
            return std::make_unique<IOReportPower>(std::move(channels), clock);
        },
        fakeSmcOpener(smc),
        [&](const PowerSample& s) {
            samples.push_back(s);
            clock->now += 1;
        });
    sampler->start();
    executor.advance(static_cast<double>(cpuEnergy.size()) - 0.5);
    sampler->stop();
    executor.runUntilIdle();
    return samples;
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
    EXPECT_EQ(samples.back().systemWatts, std::nullopt);
    EXPECT_EQ(samples.back().dcInWatts, std::nullopt);
    EXPECT_EQ(silent->calls, 4) << "each key probed once (two calls) at start, then closed";
}

}  // namespace
}  // namespace glintdeck
