// The samplers the factory makes on the machine running the tests: one without a battery or GPU
// (a virtual machine, a build server) must deliver the empty samples, quietly.

#include "platform/linux/linux_sampler_factory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/linux/directory_entries.h"
#include "platform/linux/system_clock.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// Starts a sampler over this machine, lets it tick three times and returns what it delivered,
// checking that it said nothing.
template <typename Sample, typename Make>
std::vector<Sample> threeTicks(Make make) {
    ManualExecutor executor;
    LinuxSamplerFactory factory(executor, std::make_shared<SystemClock>());
    std::vector<Sample> samples;
    testing::internal::CaptureStderr();
    std::shared_ptr<Sampler> sampler =
        make(factory, [&](const Sample& sample) { samples.push_back(sample); });
    sampler->start();
    executor.advance(2.5);
    sampler->stop();
    executor.runUntilIdle();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(samples.size(), 3u);
    return samples;
}

// Whether any entry of folder has a file named leaf whose first word starts with prefix.
bool anyHas(const std::string& folder, const char* leaf, const std::string& prefix) {
    for (const auto& entry : DirectoryEntries(folder)) {
        std::string text;
        std::ifstream(entry.path() / leaf) >> text;
        if (text.starts_with(prefix)) return true;
    }
    return false;
}

TEST(LinuxSamplerFactoryTest, BatteryAndGPUSamplersReportThisMachineQuietly) {
    auto batteries =
        threeTicks<BatterySample>([](auto& f, auto on) { return f.makeBatterySampler(1, on); });
    if (!anyHas("/sys/class/power_supply", "type", "Battery")) {
        EXPECT_EQ(batteries, std::vector<BatterySample>(3, BatterySample::empty()));
    }
    auto gpus = threeTicks<GPUSample>([](auto& f, auto on) { return f.makeGPUSampler(1, on); });
    const bool anyGpu = anyHas("/sys/bus/pci/devices", "class", "0x03");
    for (const GPUSample& sample : gpus) {
        if (!anyGpu) {
            EXPECT_EQ(sample, GPUSample::empty());
        }
        EXPECT_GE(sample.utilizationPercent, 0);
        EXPECT_LE(sample.utilizationPercent, 100);
    }
}

}  // namespace
}  // namespace glintdeck
