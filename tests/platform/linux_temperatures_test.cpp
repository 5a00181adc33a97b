#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/linux_thermal_state.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"
#include "tests/support/gpu_schedule.h"
#include "tests/support/manual_clock.h"

namespace glintdeck {
namespace {

std::unique_ptr<IOHIDTemperatureReader> readerOf(const std::string& root,
                                                 std::shared_ptr<const Clock> clock) {
    std::vector<std::unique_ptr<ThermalServiceSource>> sources;
    sources.push_back(std::make_unique<HwmonThermalServices>(root, gpuSchedule(std::move(clock))));
    return std::make_unique<IOHIDTemperatureReader>(std::move(sources));
}

std::vector<TempReading> readingsOf(const std::string& root) {
    return readerOf(root, std::make_shared<ManualClock>())->read();
}

std::optional<double> readingFor(const std::vector<TempReading>& readings, const char* role) {
    for (const TempReading& reading : readings) {
        if (reading.label == role) return reading.celsius;
    }
    return std::nullopt;
}

TEST(LinuxTemperaturesTest, SortsEachMachinesSensorsIntoRoles) {
    for (const auto& [fixture, expected] :
         std::vector<std::pair<const char*, std::vector<TempReading>>>{
             // coretemp's package, not averaged with applesmc's TC* copies; TC1C reads 0;
             // ambient (TA0P), memory (TM0P) and Wi-Fi (TW0P) keys play no role
             {"intel-mac", {{"CPU", 61}, {"GPU", 47.5}, {"SSD", 40}, {"Battery", 31}}},
             // the package, not its cores; the drive's Composite, not its Sensor 1; acpitz is
             // the SoC; thinkpad's unlabelled inputs and iwlwifi play no role
             {"thinkpad", {{"CPU", 54}, {"SoC", 48}, {"SSD", 82.85}, {"Battery", 29.6}}},
             // Tctl, not the mean of the CCDs; the sleeping card is not read; the super-I/O's
             // CPUTIN and the DIMM sensor play no role
             {"amd-desktop", {{"CPU", 62.5}, {"SSD", 38.85}}},
             // Tctl, amdgpu's edge (not junction or the VRAM's mem), the drive's Composite
             {"ryzen-desktop", {{"CPU", 61.75}, {"GPU", 48}, {"SoC", 25}, {"SSD", 44.85}}},
             // at TjMax: the package; dell_smm's "CPU" is the controller's copy of it
             {"xps-at-tjmax", {{"CPU", 99}, {"SoC", 52}}},
             // the chipset's own sensor, not the mean of it and the firmware's ACPI zone
             {"cometlake-laptop", {{"CPU", 45}, {"SoC", 51}}},
             {"this-vm", {}},
         }) {
        EXPECT_EQ(readingsOf(fixtureRoot(fixture)), expected) << fixture;
    }
}

TEST(LinuxTemperaturesTest, AwakeCardAndBatteryWithoutItsOwnChipAreRead) {
    FixtureTree machine("amd-desktop");
    machine.writeLine("sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/power/runtime_status",
                      "active");
    EXPECT_EQ(readingsOf(machine.root())[1], (TempReading{"GPU", 44})) << "edge";

    FixtureTree older("thinkpad");  // a kernel that gives batteries no hwmon chip
    std::filesystem::remove(older.root() + "/sys/class/hwmon/hwmon4");
    older.writeLine("sys/class/power_supply/BAT0/temp", "314");  // tenths of a degree
    EXPECT_EQ(readingsOf(older.root()).back(), (TempReading{"Battery", 31.4}));
}

TEST(LinuxTemperaturesTest, ChipsThatSummariseTheirInputsAreReadByTheirSummary) {
    struct Row {
        const char* chip;
        const char* label;
        std::vector<std::string> chipLabels;
        InputUse expected;
    };
    // The package beside its cores, Tctl beside the CCDs, the drive's Composite and amdgpu's
    // edge are read on the machines above; these are the other shapes a chip's inputs take.
    for (const Row& row : {
             Row{"coretemp", "Core 1", {"Core 0", "Core 1"}, InputUse::hottest},  // no package
             Row{"k10temp", "Tctl", {"Tctl", "Tdie", "Tccd1"}, InputUse::detail},
             Row{"k10temp", "Tdie", {"Tctl", "Tdie", "Tccd1"}, InputUse::reading},
             Row{"nvme", "Sensor 1", {"Sensor 1"}, InputUse::reading},
             Row{"amdgpu", "junction", {"junction", "mem"}, InputUse::reading},
             Row{"amdgpu", "mem", {"junction", "mem"}, InputUse::detail},
             Row{"drivetemp", "temp1", {"temp1"}, InputUse::reading},
         }) {
        EXPECT_EQ(inputUse(row.chip, row.label, row.chipLabels), row.expected)
            << row.chip << " " << row.label;
    }
}

TEST(LinuxTemperaturesTest, PlaceholdersAreKnownByWhatTheyReadNotByHoldingStill) {
    const std::string acpitz = "sys/devices/virtual/thermal/thermal_zone0/hwmon/hwmon0/temp1_input";
    // A quiet laptop's package holds a whole 45 °C for minutes while its ACPI zone moves.
    FixtureTree laptop("cometlake-laptop");
    auto clock = std::make_shared<ManualClock>();
    auto quiet = readerOf(laptop.root(), clock);
    for (int tick = 0; tick < 5; ++tick) {
        clock->now = tick * 30;
        laptop.writeLine(acpitz, std::to_string(27800 + tick * 1000));
        EXPECT_EQ(readingFor(quiet->read(), "CPU"), 45) << "second " << clock->now;
    }

    const std::string tctl = "sys/devices/pci0000:00/0000:00:18.3/hwmon/hwmon1/temp1_input";
    const std::string tg0d = "sys/devices/platform/applesmc.768/temp6_input";  // TG0P reads 46.5
    struct Row {
        const char* fixture;
        std::string file;
        const char* millidegrees;
        const char* role;
        std::optional<double> expected;
    };
    for (const Row& row : {
             Row{"ryzen-desktop", acpitz, "9000", "SoC", std::nullopt},
             Row{"ryzen-desktop", acpitz, "127000", "SoC", std::nullopt},
             Row{"intel-mac", tg0d, "129000", "GPU", 46.5},  // a controller key out of range
             // the processor's own reading is kept: a cold room's idle machine
             Row{"ryzen-desktop", tctl, "9000", "CPU", 9},
         }) {
        FixtureTree machine(row.fixture);
        machine.writeLine(row.file, row.millidegrees);
        EXPECT_EQ(readingFor(readingsOf(machine.root()), row.role), row.expected)
            << row.fixture << " " << row.millidegrees;
    }
}

TEST(LinuxThermalStateTest, RealMachinesAtRestReadNominal) {
    // The ThinkPad's x86_pkg_temp trips at 0 and INT340x trips at -273.25 are disabled ones,
    // and its drive is 2 degrees from its critical limit: none of it is the processor.
    // The desktop's ACPI zone reads a constant 16.8 °C beside a 20.8 °C "critical" trip: the
    // firmware's placeholders (a critical limit below 50), not a machine about to power off.
    for (const char* fixture :
         {"intel-mac", "thinkpad", "amd-desktop", "this-vm", "desktop-placeholder-trip"}) {
        LinuxThermalState state(fixtureRoot(fixture), std::make_shared<ManualClock>());
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_EQ(state.thermalState(), ThermalState::nominal) << fixture;
        }
    }
}

// The states a machine reports at ticks a second apart, its package throttle counter at each
// given total (it shows in every CPU's folder; only one per package counts).
std::vector<ThermalState> statesWhileThrottled(const char* fixture, std::vector<int> totals) {
    FixtureTree machine(fixture);
    auto clock = std::make_shared<ManualClock>();
    LinuxThermalState state(machine.root(), clock);
    std::vector<ThermalState> seen;
    for (int total : totals) {
        for (int cpu = 0; cpu < 4; ++cpu) {
            machine.writeLine("sys/devices/system/cpu/cpu" + std::to_string(cpu) +
                                  "/thermal_throttle/package_throttle_total_time_ms",
                              std::to_string(total));
        }
        seen.push_back(state.thermalState());
        clock->now += 1;
    }
    return seen;
}

// A state changes once two ticks agree. The first tick has nothing to compare with; throttled
// 3% of a tick is fair, 30% serious; a tick without throttling cools down. At TjMax with its
// alarm up, a processor is fair while its counters stand still; throttled half a tick, serious;
// never critical, the zone being far from its 107 °C trip.
TEST(LinuxThermalStateTest, RisesWithThrottleTimeAfterTwoTicksAgree) {
    using enum ThermalState;
    EXPECT_EQ(statesWhileThrottled("thinkpad", {120, 150, 180, 480, 780, 780, 780}),
              (std::vector{nominal, nominal, fair, fair, serious, serious, nominal}));
    EXPECT_EQ(statesWhileThrottled("xps-at-tjmax", {48210, 48210, 48710, 49210, 49710}),
              (std::vector{nominal, fair, fair, serious, serious}));
}

TEST(LinuxThermalStateTest, AnAmdProcessorIsHeldToItsControlLimit) {
    // k10temp has no critical limit, and older kernels show a fixed 70 °C maximum.
    const std::string k10temp = "sys/devices/pci0000:00/0000:00:18.3/hwmon/hwmon1/";
    FixtureTree desktop("ryzen-desktop");
    desktop.writeLine(k10temp + "temp1_max", "70000");
    for (auto [tctl, expected] :
         {std::pair{"75000", ThermalState::nominal}, std::pair{"84500", ThermalState::nominal},
          std::pair{"85500", ThermalState::fair}}) {
        desktop.writeLine(k10temp + "temp1_input", tctl);
        LinuxThermalState state(desktop.root(), std::make_shared<ManualClock>());
        (void)state.thermalState();  // two ticks agree before the state changes
        EXPECT_EQ(state.thermalState(), expected) << tctl;
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
