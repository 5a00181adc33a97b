#include "platform/linux/gpu_read_schedule.h"

#include <gtest/gtest.h>

#include "platform/linux/energy_channels.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/pci_accelerator_source.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/gpu_schedule.h"

namespace glintdeck {
namespace {

// Every reader of the laptop's discrete card, sharing one schedule as the samplers do.
struct Readers {
    explicit Readers(const std::string& root)
        : fans(openHwmonSmcConnection(root, gpus)),
          power(linuxEnergyChannels(root, gpus), clock),
          gpu(root, gpus, {.nvmlLibrary = "/nonexistent/libnvidia-ml.so.1"}) {
        auto services = HwmonThermalServices(root, gpus).copyServices();
        EXPECT_EQ(services.size(), 1u) << "edge alone";
        temperature = std::move(services.front().sensor);
        gpu.prepare();
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<GpuReadSchedule> gpus = gpuSchedule(clock);
    SMC fans;
    IOReportPower power;
    PciAcceleratorSource gpu;
    std::unique_ptr<TemperatureSensor> temperature;
};

struct Seen {
    std::optional<double> celsius;
    std::optional<double> rpm;
    std::optional<int64_t> busy;
    bool operator==(const Seen&) const = default;
};

TEST(GpuReadScheduleTest, EveryReaderLetsAnIdleCardSleepAndNoneWakesIt) {
    FixtureTree laptop("radeon-laptop-autosuspend");
    const std::string card = "sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0/";
    const std::string chip = card + "hwmon/hwmon3/";
    Readers readers(laptop.root());
    struct Step {
        double second;
        const char* status;
        int busy;
        Seen expected;
    };
    int tick = 0;
    for (const Step& step : {
             Step{0, "active", 0, {40, 1200, 0}},     // a round: every reader reads
             Step{1, "active", 0, {40, 1200, 0}},     // held: its 5 s timer runs
             Step{6, "active", 0, {40, 1200, 0}},     // 5 s and the margin not yet over
             Step{8, "suspended", 0, {{}, {}, 0}},    // it slept: nothing read
             Step{9, "active", 0, {44, 1240, 0}},     // woken by another program: read
             Step{10, "active", 0, {44, 1240, 0}},    // idle again: held
             Step{16, "active", 35, {46, 1260, 35}},  // the next round finds it busy
             Step{17, "active", 35, {47, 1270, 35}},  // busy: read every tick
         }) {
        readers.clock->now = step.second;
        laptop.writeLine(card + "power/runtime_status", step.status);
        laptop.writeLine(card + "gpu_busy_percent", std::to_string(step.busy));
        // The files move every tick: a held reader shows the older value.
        laptop.writeLine(chip + "temp1_input", std::to_string(40000 + tick * 1000));
        laptop.writeLine(chip + "fan1_input", std::to_string(1200 + tick * 10));
        EXPECT_EQ(readers.fans.read("FNum"), 1) << "second " << step.second;
        Seen seen{readers.temperature->temperature(), readers.fans.read("F0Ac"), std::nullopt};
        std::vector<PropertyTable> cards = readers.gpu.accelerators();
        const PropertyTable* statistics = tableAt(cards.front(), "PerformanceStatistics");
        if (statistics) seen.busy = integerAt(*statistics, "Device Utilization %");
        EXPECT_EQ(seen, step.expected) << "second " << step.second;
        ++tick;
    }
}

TEST(GpuReadScheduleTest, CardPowerHoldsBetweenRoundsAndStopsWhileTheCardSleeps) {
    FixtureTree laptop("radeon-laptop-autosuspend");
    const std::string card = "sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0/";
    Readers readers(laptop.root());
    struct Step {
        double second;
        const char* status;
        int watts;
        std::optional<double> expected;
    };
    for (const Step& step : {
             Step{0, "active", 12, std::nullopt},                // the first sample has no interval
             Step{1, "active", 30, 0},                           // held, and no rate known yet
             Step{6, "active", 30, 0}, Step{7, "active", 9, 9},  // a round: 9 W since the last one
             Step{8, "active", 30, 9},                           // held at the last rate
             Step{10, "suspended", 30, std::nullopt},            // asleep: no figure, no read
             Step{11, "active", 14, 0},                          // awake again: a new start
         }) {
        readers.clock->now = step.second;
        laptop.writeLine(card + "power/runtime_status", step.status);
        laptop.writeLine(card + "hwmon/hwmon3/power1_average",
                         std::to_string(step.watts * 1'000'000));
        std::optional<DomainPower> power = readers.power.sample();
        ASSERT_EQ(power.has_value(), step.expected.has_value()) << "second " << step.second;
        if (power) {
            EXPECT_NEAR(power->gpu, *step.expected, 1e-6) << "second " << step.second;
        }
    }
}

}  // namespace
}  // namespace glintdeck
