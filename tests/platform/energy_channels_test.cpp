#include "platform/linux/energy_channels.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"
#include "tests/support/manual_clock.h"

namespace glintdeck {
namespace {

std::vector<EnergyChannel> channelsOf(const std::string& root, std::shared_ptr<const Clock> clock) {
    return linuxEnergyChannels(root, std::make_shared<GpuReadSchedule>(std::move(clock)));
}

std::vector<std::string> channelNames(const std::string& root) {
    std::vector<std::string> names;
    for (const EnergyChannel& channel : channelsOf(root, std::make_shared<ManualClock>())) {
        EXPECT_EQ(channel.group, "Energy Model");
        EXPECT_EQ(channel.unit, "uJ");
        names.push_back(channel.name);
    }
    return names;
}

TEST(EnergyChannelsTest, EachMachineCountsEveryDomainOnce) {
    for (const auto& [fixture, names] :
         std::vector<std::pair<const char*, std::vector<std::string>>>{
             // core and uncore, not their package, the psys zone or the MMIO duplicate
             {"thinkpad", {"CPU Energy", "GPU Energy"}},
             // RAPL is root-only there: the socket total from hwmon, not the cores as well;
             // the card's power reading
             {"amd-desktop", {"GPU Energy", "CPU Energy"}},
             // AMD: the package, never the core zone (one core's counter)
             {"ryzen-rapl-radeon", {"CPU Energy", "GPU Energy"}},
             {"intel-mac", {}},
             {"this-vm", {}},
         }) {
        EXPECT_EQ(channelNames(fixtureRoot(fixture)), names) << fixture;
    }

    FixtureTree noCore("thinkpad");
    std::filesystem::remove(noCore.root() + "/sys/class/powercap/intel-rapl:0:0/energy_uj");
    EXPECT_EQ(channelNames(noCore.root()), (std::vector<std::string>{"GPU Energy", "CPU Energy"}))
        << "a package without a readable core zone stands for the processor";
}

TEST(EnergyChannelsTest, CountersGiveEachDomainsPowerOverTheInterval) {
    const std::string rapl = "sys/devices/virtual/powercap/intel-rapl/";
    struct Row {
        const char* fixture;
        std::vector<std::pair<std::string, const char*>> counters;  // file, energy at the end
        double seconds;
        DomainPower expected;
    };
    for (const Row& row : {
             // core was 328,850 µJ short of its range: it wrapped and went on to 671,700; the
             // package is not counted
             Row{"thinkpad",
                 {{"sys/class/powercap/intel-rapl:0:0/energy_uj", "671700"},
                  {"sys/class/powercap/intel-rapl:0:1/energy_uj", "1205339722"},
                  {"sys/class/powercap/intel-rapl:0/energy_uj", "1"}},
                 1,
                 {.cpu = 1.00055, .gpu = 2.0}},
             // hwmon's socket energy: 42 J over 2 s
             Row{"amd-desktop",
                 {{"sys/devices/platform/zenergy/hwmon/hwmon5/energy17_input", "944113000"}},
                 2,
                 {.cpu = 21}},
             // AMD counts its package (+150 J), not one core's zone (+5 J); the card's 187 W
             // average stands for the two seconds just past
             Row{"ryzen-rapl-radeon",
                 {{rapl + "intel-rapl:0/energy_uj", "71384567890"},
                  {rapl + "intel-rapl:0:0/energy_uj", "3461789012"}},
                 2,
                 {.cpu = 75, .gpu = 187}},
         }) {
        FixtureTree machine(row.fixture);
        auto clock = std::make_shared<ManualClock>();
        IOReportPower reader(channelsOf(machine.root(), clock), clock);
        EXPECT_TRUE(reader.isAvailable());
        EXPECT_EQ(reader.sample(), std::nullopt) << "a first reading is a baseline";
        for (const auto& [file, energy] : row.counters) machine.writeLine(file, energy);
        clock->now += row.seconds;
        std::optional<DomainPower> power = reader.sample();
        ASSERT_TRUE(power.has_value()) << row.fixture;
        EXPECT_DOUBLE_EQ(power->cpu, row.expected.cpu) << row.fixture;
        EXPECT_DOUBLE_EQ(power->gpu, row.expected.gpu) << row.fixture;
    }
}

}  // namespace
}  // namespace glintdeck
