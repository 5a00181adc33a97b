#include "platform/linux/hwmon_smc_connection.h"

#include <gtest/gtest.h>

#include "samplers/fan_sampler.h"
#include "tests/support/fixture_copy.h"
#include "tests/support/fixtures.h"
#include "tests/support/gpu_schedule.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

FanSample fansOf(const std::string& root) {
    ManualExecutor executor;
    std::vector<FanSample> samples;
    auto sampler = std::make_shared<FanSampler>(
        executor, 1.0, [root] { return openHwmonSmcConnection(root, gpuSchedule()); },
        [&](const FanSample& s) { samples.push_back(s); });
    sampler->start();
    executor.runUntilIdle();
    sampler->stop();
    executor.runUntilIdle();
    EXPECT_EQ(samples.size(), 1u);
    return samples.empty() ? FanSample{} : samples[0];
}

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
             // the suspended card's fan comes first in device order, but is never read
             Row{"amd-desktop", {true, {{0, 0, 0}, {1187, 300, 0}, {842, 0, 0}}}},
             Row{"this-vm", FanSample::empty()},
         }) {
        EXPECT_EQ(fansOf(fixtureRoot(row.fixture)), row.expected) << row.fixture;
    }
}

TEST(HwmonSmcConnectionTest, AnAwakeCardsFanIsRead) {
    FixtureCopy machine("amd-desktop");
    machine.write("sys/devices/pci0000:00/0000:00:03.1/0000:0b:00.0/power/runtime_status",
                  "active");
    FanSample sample = fansOf(machine.root());
    ASSERT_EQ(sample.fans.size(), 4u);
    EXPECT_EQ(sample.fans[0], (FanSample::Fan{650, 0, 3200}));
}

TEST(HwmonSmcConnectionTest, SystemPowerComesFromThePowerMeterInWatts) {
    SMC desktop(openHwmonSmcConnection(fixtureRoot("amd-desktop"), gpuSchedule()));
    EXPECT_EQ(desktop.read("PSTR"), 87.5);
    EXPECT_EQ(desktop.read("PDTR"), std::nullopt) << "Linux has no DC-input figure";
    SMCKeyResult raw = desktop.readKey("PSTR");
    EXPECT_EQ(raw.reading.dataType, "flt ");
    EXPECT_EQ(raw.reading.dataSize, 4u);

    SMC laptop(openHwmonSmcConnection(fixtureRoot("thinkpad"), gpuSchedule()));
    EXPECT_TRUE(laptop.isConnected());
    EXPECT_EQ(laptop.read("PSTR"), std::nullopt);

    EXPECT_EQ(openHwmonSmcConnection(fixtureRoot("this-vm"), gpuSchedule()), nullptr)
        << "nothing to answer: not opened";
}

}  // namespace
}  // namespace glintdeck
