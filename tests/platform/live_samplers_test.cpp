// The battery and GPU samplers on the machine running the tests. On a machine without either
// (a virtual machine, a build server) they must deliver their empty samples, quietly.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/directory_entries.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/system_clock.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

bool hasSupplyOfType(const std::string& type) {
    for (const auto& entry : DirectoryEntries("/sys/class/power_supply")) {
        std::string text;
        std::ifstream(entry.path() / "type") >> text;
        if (text == type) return true;
    }
    return false;
}

bool hasDisplayController() {
    for (const auto& entry : DirectoryEntries("/sys/bus/pci/devices")) {
        std::string pciClass;
        std::ifstream(entry.path() / "class") >> pciClass;
        if (pciClass.starts_with("0x03")) return true;
    }
    return false;
}

template <typename Sample, typename Make>
std::vector<Sample> runLive(Make make) {
    ManualExecutor executor;
    LinuxSamplerFactory factory(executor, std::make_shared<SystemClock>());
    std::vector<Sample> samples;
    std::shared_ptr<Sampler> sampler =
        make(factory, [&](const Sample& sample) { samples.push_back(sample); });
    EXPECT_NE(sampler, nullptr);
    if (!sampler) return samples;
    testing::internal::CaptureStderr();
    sampler->start();
    executor.advance(2.5);
    sampler->stop();
    executor.runUntilIdle();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(samples.size(), 3u);
    return samples;
}

TEST(LiveSamplersTest, BatterySamplerReportsThisMachineQuietly) {
    auto samples = runLive<BatterySample>([](SamplerFactory& factory, auto onSample) {
        return factory.makeBatterySampler(1.0, onSample);
    });
    if (hasSupplyOfType("Battery")) return;
    for (const BatterySample& sample : samples) {
        EXPECT_EQ(sample, BatterySample::empty());
    }
}

TEST(LiveSamplersTest, GPUSamplerReportsThisMachineQuietly) {
    auto samples = runLive<GPUSample>([](SamplerFactory& factory, auto onSample) {
        return factory.makeGPUSampler(1.0, onSample);
    });
    bool anyGpu = hasDisplayController();
    for (const GPUSample& sample : samples) {
        if (!anyGpu) {
            EXPECT_EQ(sample, GPUSample::empty());
        }
        EXPECT_GE(sample.utilizationPercent, 0);
        EXPECT_LE(sample.utilizationPercent, 100);
    }
}

}  // namespace
}  // namespace glintdeck
