#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/linux_thermal_state.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fixture_copy.h"
#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

std::vector<TempReading> readingsOf(const std::string& root) {
    std::vector<std::unique_ptr<ThermalServiceSource>> sources;
    sources.push_back(std::make_unique<HwmonThermalServices>(root));
    IOHIDTemperatureReader reader(std::move(sources), SmcOpener{}, {});
    return reader.read();
}

TEST(LinuxTemperaturesTest, SortsEachMachinesSensorsIntoRoles) {
    struct Row {
        const char* fixture;
        std::vector<TempReading> expected;
    };
    for (const Row& row : {
             // coretemp and applesmc TC* keys share CPU; TC1C reads 0 and is dropped;
             // ambient (TA0P), memory (TM0P) and Wi-Fi (TW0P) keys play no role
             Row{"intel-mac",
                 {{"CPU", (61 + 59 + 63 + 57 + 51) / 5.0},
                  {"GPU", 47.5},
                  {"SSD", 40},
                  {"Battery", 31}}},
             // acpitz is the SoC; thinkpad's unlabelled inputs and iwlwifi play no role
             Row{"thinkpad", {{"CPU", 54}, {"SoC", 48}, {"SSD", 82.85}, {"Battery", 29.6}}},
             // Tctl gives way to the CCDs; the sleeping card is not read; the super-I/O's
             // CPUTIN and the DIMM sensor play no role
             Row{"amd-desktop", {{"CPU", 54.5}, {"SSD", 38.85}}},
             Row{"this-vm", {}},
         }) {
        std::vector<TempReading> readings = readingsOf(fixtureRoot(row.fixture));
        ASSERT_EQ(readings.size(), row.expected.size()) << row.fixture;
        for (size_t i = 0; i < readings.size(); ++i) {
            EXPECT_EQ(readings[i].label, row.expected[i].label) << row.fixture;
            EXPECT_DOUBLE_EQ(readings[i].celsius, row.expected[i].celsius) << row.fixture;
        }
    }
}

TEST(LinuxTemperaturesTest, AwakeCardAndBatteryWithoutItsOwnChipAreRead) {
    FixtureCopy machine("amd-desktop");
    machine.write("sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/power/runtime_status",
                  "active");
    EXPECT_EQ(readingsOf(machine.root())[1], (TempReading{"GPU", 46}));

    FixtureCopy older("thinkpad");  // a kernel that gives batteries no hwmon chip
    std::filesystem::remove(older.root() + "/sys/class/hwmon/hwmon4");
    older.write("sys/class/power_supply/BAT0/temp", "314");  // tenths of a degree
    EXPECT_EQ(readingsOf(older.root()).back(), (TempReading{"Battery", 31.4}));
}

TEST(LinuxThermalStateTest, RealMachinesAtRestReadNominal) {
    // The ThinkPad's x86_pkg_temp trips at 0 and INT340x trips at -273.25 are disabled ones,
    // and its drive is 2 degrees from its critical limit: none of it is the processor.
    // The desktop's ACPI zone reads a constant 16.8 °C beside a 20.8 °C "critical" trip: the
    // firmware's placeholders, not a machine about to power off.
    for (const char* fixture :
         {"intel-mac", "thinkpad", "amd-desktop", "this-vm", "desktop-placeholder-trip"}) {
        LinuxThermalState state(fixtureRoot(fixture), std::make_shared<FakeClock>());
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_EQ(state.thermalState(), ThermalState::nominal) << fixture;
        }
    }
}

TEST(LinuxThermalStateTest, RisesWithThrottleTimeAfterTwoTicksAgree) {
    FixtureCopy machine("thinkpad");
    auto clock = std::make_shared<FakeClock>();
    LinuxThermalState state(machine.root(), clock);
    // The package counter shows in every CPU's folder; only one per package counts.
    auto throttle = [&](int milliseconds) {
        for (int cpu = 0; cpu < 4; ++cpu) {
            machine.write("sys/devices/system/cpu/cpu" + std::to_string(cpu) +
                              "/thermal_throttle/package_throttle_total_time_ms",
                          std::to_string(milliseconds));
        }
    };
    struct Step {
        int throttleTotal;
        ThermalState expected;
    };
    std::vector<ThermalState> seen;
    for (const Step& step : {
             Step{120, ThermalState::nominal},  // first tick: nothing to compare with
             Step{150, ThermalState::nominal},  // throttled 3% of the tick: fair, once
             Step{180, ThermalState::fair},     // twice
             Step{480, ThermalState::fair},     // 30%: serious, once
             Step{780, ThermalState::serious},
             Step{780, ThermalState::serious},  // cooled down, once
             Step{780, ThermalState::nominal},
         }) {
        throttle(step.throttleTotal);
        seen.push_back(state.thermalState());
        EXPECT_EQ(seen.back(), step.expected) << "tick " << seen.size();
        clock->now += 1;
    }
}

TEST(LinuxThermalStateTest, AProcessorAtItsThrottlePointIsFairUntilItThrottles) {
    FixtureCopy machine("xps-at-tjmax");
    auto clock = std::make_shared<FakeClock>();
    LinuxThermalState state(machine.root(), clock);
    struct Step {
        int throttleTotal;
        ThermalState expected;
    };
    int tick = 0;
    for (const Step& step : {
             Step{48210, ThermalState::nominal},  // at TjMax with its alarm up: fair, once
             Step{48210, ThermalState::fair},     // twice; counters still
             Step{48710, ThermalState::fair},     // throttled half the tick: serious, once
             Step{49210, ThermalState::serious},
             Step{49710, ThermalState::serious},  // never critical: the zone is far from 107
         }) {
        for (int cpu = 0; cpu < 4; ++cpu) {
            machine.write("sys/devices/system/cpu/cpu" + std::to_string(cpu) +
                              "/thermal_throttle/package_throttle_total_time_ms",
                          std::to_string(step.throttleTotal));
        }
        EXPECT_EQ(state.thermalState(), step.expected) << "tick " << tick++;
        clock->now += 1;
    }
}

TEST(LinuxThermalStateTest, ProcessorSignalsThatRaiseTheState) {
    using Trip = ThermalSignals::Trip;
    struct Row {
        const char* what;
        ThermalSignals signals;
        ThermalState expected;
    };
    for (const Row& row : {
             Row{"a processor at its critical limit (TjMax)",
                 {.sensors = {{.celsius = 100, .critical = 100, .maximum = 100}}},
                 ThermalState::fair},
             Row{"critical alarm",
                 {.sensors = {{.celsius = 60, .criticalAlarm = true}}},
                 ThermalState::fair},
             Row{"within 10 of maximum",
                 {.sensors = {{.celsius = 90, .maximum = 100}}},
                 ThermalState::fair},
             Row{"no maximum: 80 stands in", {.sensors = {{.celsius = 70}}}, ThermalState::fair},
             Row{"SoC has no maximum rule",
                 {.sensors = {{.celsius = 75, .critical = 105, .isCPU = false}}},
                 ThermalState::nominal},
             Row{"SoC near its critical limit",
                 {.sensors = {{.celsius = 96, .critical = 105, .isCPU = false}}},
                 ThermalState::fair},
             Row{"a critical limit below 50 is a placeholder",
                 {.sensors = {{.celsius = 16.8, .critical = 20.8, .isCPU = false}}},
                 ThermalState::nominal},
             Row{"implausible reading",
                 {.sensors = {{.celsius = 255, .critical = 100}}},
                 ThermalState::nominal},
             Row{"passive trip reached",
                 {.zones = {{.celsius = 85, .trips = {{Trip::Type::passive, 85}}}}},
                 ThermalState::serious},
             Row{"near a critical trip",
                 {.zones =
                      {{.celsius = 124, .trips = {{Trip::Type::critical, 128}}, .lowest = 45}}},
                 ThermalState::critical},
             Row{"a critical trip below 50 is a placeholder",
                 {.zones = {{.celsius = 46, .trips = {{Trip::Type::critical, 48}}, .lowest = 30}}},
                 ThermalState::nominal},
             Row{"a trip at or below the lowest reading is a placeholder",
                 {.zones = {{.celsius = 71,
                           .trips = {{Trip::Type::critical, 70}, {Trip::Type::passive, 60}},
                           .lowest = 70}}},
                 ThermalState::nominal},
             Row{"a zone that never changed is a placeholder",
                 {.zones = {{.celsius = 99,
                           .trips = {{Trip::Type::critical, 100}},
                           .hasChanged = false}}},
                 ThermalState::nominal},
             Row{"processor cooling", {.processorCoolingActive = true}, ThermalState::serious},
         }) {
        EXPECT_EQ(classifyThermalSignals(row.signals), row.expected) << row.what;
    }
}

}  // namespace
}  // namespace glintdeck
