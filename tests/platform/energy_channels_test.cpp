#include "platform/linux/energy_channels.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/fake_clock.h"
#include "tests/support/fixture_copy.h"
#include "tests/support/fixtures.h"
#include "tests/support/manual_clock.h"

namespace glintdeck {
namespace {

std::vector<EnergyChannel> channelsOf(const std::string& root, std::shared_ptr<const Clock> clock) {
    return linuxEnergyChannels(root, std::make_shared<GpuReadSchedule>(std::move(clock)));
}

std::vector<std::string> channelNames(const std::string& root) {
    std::vector<std::string> names;
    for (const EnergyChannel& channel : channelsOf(root, std::make_shared<FakeClock>())) {
        EXPECT_EQ(channel.group, "Energy Model");
        EXPECT_EQ(channel.unit, "uJ");
        names.push_back(channel.name);
    }
    return names;
}

TEST(EnergyChannelsTest, EachMachineCountsEveryDomainOnce) {
    struct Row {
        const char* fixture;
        std::vector<std::string> names;
    };
    for (const Row& row : {
             // core and uncore, not their package, the psys zone or the MMIO duplicate
             Row{"thinkpad", {"CPU Energy", "GPU Energy"}},
             // RAPL is root-only there: the socket total from hwmon, not the cores as well;
             // the card's power reading
             Row{"amd-desktop", {"GPU Energy", "CPU Energy"}},
             // AMD: the package, never the core zone (one core's counter)
             Row{"ryzen-rapl-radeon", {"CPU Energy", "GPU Energy"}},
             Row{"intel-mac", {}},
             Row{"this-vm", {}},
         }) {
        EXPECT_EQ(channelNames(fixtureRoot(row.fixture)), row.names) << row.fixture;
    }

    FixtureCopy noCore("thinkpad");
    std::filesystem::remove(noCore.root() + "/sys/class/powercap/intel-rapl:0:0/energy_uj");
    EXPECT_EQ(channelNames(noCore.root()), (std::vector<std::string>{"GPU Energy", "CPU Energy"}))
        << "a package without a readable core zone stands for the processor";
}

TEST(EnergyChannelsTest, WrappedRaplCounterGivesTheTrueInterval) {
    FixtureCopy machine("thinkpad");
    auto clock = std::make_shared<FakeClock>();
    IOReportPower reader(channelsOf(machine.root(), clock), clock);
    EXPECT_TRUE(reader.isAvailable());
    EXPECT_EQ(reader.sample(), std::nullopt);

    // core was 328,850 µJ short of its range: it wrapped and went on to 671,700.
    machine.write("sys/class/powercap/intel-rapl:0:0/energy_uj", "671700");
    machine.write("sys/class/powercap/intel-rapl:0:1/energy_uj", "1205339722");
    machine.write("sys/class/powercap/intel-rapl:0/energy_uj", "1");  // not counted
    clock->now += 1;
    std::optional<DomainPower> power = reader.sample();
    ASSERT_TRUE(power.has_value());
    EXPECT_DOUBLE_EQ(power->cpu, 1.00055);
    EXPECT_DOUBLE_EQ(power->gpu, 2.0);
}

TEST(EnergyChannelsTest, HwmonSocketEnergyBecomesProcessorPower) {
    FixtureCopy machine("amd-desktop");
    auto clock = std::make_shared<FakeClock>();
    IOReportPower reader(channelsOf(machine.root(), clock), clock);
    EXPECT_EQ(reader.sample(), std::nullopt);
    machine.write("sys/devices/platform/zenergy/hwmon/hwmon5/energy17_input", "944113000");
    clock->now += 2;
    EXPECT_EQ(reader.sample(), DomainPower{.cpu = 21});  // 42 J over 2 s
}

TEST(EnergyChannelsTest, AmdProcessorsCountTheirPackageAndCardsTheirPowerReading) {
    FixtureCopy machine("ryzen-rapl-radeon");
    auto clock = std::make_shared<FakeClock>();
    IOReportPower reader(channelsOf(machine.root(), clock), clock);
    EXPECT_EQ(reader.sample(), std::nullopt);
    const std::string rapl = "sys/devices/virtual/powercap/intel-rapl/";
    machine.write(rapl + "intel-rapl:0/energy_uj", "71384567890");   // +150 J
    machine.write(rapl + "intel-rapl:0:0/energy_uj", "3461789012");  // +5 J on one core
    clock->now += 2;
    // The card's 187 W average stands for the two seconds just past.
    EXPECT_EQ(reader.sample(), (DomainPower{.cpu = 75, .gpu = 187}));
}

}  // namespace
}  // namespace glintdeck
