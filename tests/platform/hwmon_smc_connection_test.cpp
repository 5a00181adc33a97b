#include "platform/linux/hwmon_smc_connection.h"

#include <gtest/gtest.h>

#include "samplers/fan_sampler.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/fixtures.h"
#include "tests/support/gpu_schedule.h"
#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

// The fan sampler over root, started.
struct FanSamples : SamplerRun<FanSampler> {
    explicit FanSamples(const std::string& root) {
        start([root] { return openHwmonSmcConnection(root, gpuSchedule()); });
    }
    // What the next tick delivers.
    FanSample next() {
        tick();
        return delivered.back();
    }
};

FanSample fansOf(const std::string& root) { return FanSamples(root).next(); }

TEST(HwmonSmcConnectionTest, AnswersTheFanKeysOfEachMachine) {
    struct Row {
        const char* fixture;
        FanSample expected;
    };
    for (const Row& row : {
             // applesmc keeps its files in the device folder, with both limits
             Row{"intel-mac", {true, {{2000, 1200, 6200}, {1800, 1200, 5800}}}},
             // thinkpad_acpi reports no limits
             Row{"thinkpad", {true, {{2400, 0, 0}}}},
             // the suspended card's fan comes first in device order, but is never read; the
             // empty SYSFAN header gets no row
             Row{"amd-desktop", {true, {{1187, 300, 0}, {842, 0, 0}}}},
             Row{"this-vm", FanSample::empty()},
         }) {
        EXPECT_EQ(fansOf(fixtureRoot(row.fixture)), row.expected) << row.fixture;
    }
}

TEST(HwmonSmcConnectionTest, AnAwakeCardsFanIsReadAndStoppedFansReadZero) {
    FixtureTree machine("amd-desktop");
    const std::string card = "sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/";
    machine.writeLine(card + "power/runtime_status", "active");
    FanSample sample = fansOf(machine.root());
    ASSERT_EQ(sample.fans.size(), 3u);
    EXPECT_EQ(sample.fans[0], (FanSample::Fan{650, 0, 3200}));
    // In zero-RPM mode the card's fan is still a fan; the empty SYSFAN header is still none.
    machine.writeLine(card + "hwmon/hwmon3/fan1_input", "0");
    EXPECT_EQ(fansOf(machine.root()).fans,
              (std::vector<FanSample::Fan>{{0, 0, 3200}, {1187, 300, 0}, {842, 0, 0}}));

    FixtureTree laptop("thinkpad");  // at idle
    laptop.writeLine("sys/devices/platform/thinkpad_hwmon/hwmon/hwmon1/fan1_input", "0");
    EXPECT_EQ(fansOf(laptop.root()), (FanSample{true, {{0, 0, 0}}}));
}

TEST(HwmonSmcConnectionTest, HeadersThatNeverSpunHaveNoRowAndFansThatSpunKeepTheirs) {
    FixtureTree machine("desktop-idle-fan-headers");
    const std::string chassisFan = "sys/devices/platform/nct6775.656/hwmon/hwmon2/fan3_input";
    FanSamples samples(machine.root());
    for (const auto& [chassisRpm, expected] :
         std::vector<std::pair<int, std::vector<FanSample::Fan>>>{
             // seven headers, one spinning: the CPU fan alone
             {0, {{1148, 0, 0}}},
             // the zero-RPM chassis fan starts, and takes its place after the CPU fan
             {620, {{1148, 0, 0}, {620, 0, 0}}},
             // and stops again: it is connected, so it keeps its row at 0 rpm
             {0, {{1148, 0, 0}, {0, 0, 0}}},
         }) {
        machine.writeLine(chassisFan, std::to_string(chassisRpm));
        EXPECT_EQ(samples.next().fans, expected) << chassisRpm;
    }
}

TEST(HwmonSmcConnectionTest, SystemPowerComesFromThePowerMeterInWatts) {
    SMC desktop(openHwmonSmcConnection(fixtureRoot("amd-desktop"), gpuSchedule()));
    EXPECT_EQ(desktop.read("PSTR"), 87.5);
    EXPECT_EQ(desktop.read("PDTR"), std::nullopt) << "no power meter gives the DC input";

    SMC laptop(openHwmonSmcConnection(fixtureRoot("thinkpad"), gpuSchedule()));
    EXPECT_TRUE(laptop.isConnected());
    EXPECT_EQ(laptop.read("PSTR"), std::nullopt);

    EXPECT_EQ(openHwmonSmcConnection(fixtureRoot("this-vm"), gpuSchedule()), nullptr)
        << "nothing to answer: not opened";
}

}  // namespace
}  // namespace glintdeck
