#include "platform/linux/nvml_sensors.h"

#include <gtest/gtest.h>

#include "tests/support/fake_nvml_control.h"
#include "tests/support/scratch_tree.h"

namespace glintdeck {
namespace {

constexpr char kCardPower[] = "sys/bus/pci/devices/0000:01:00.0/power/runtime_status";

class NvmlSensorsTest : public testing::Test {
  protected:
    void SetUp() override {
        FakeNvmlDevice& card = nvml_.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050", 40);
        card.temperature = 61;
        card.energyMillijoules = 123'456;
    }

    FakeNvml nvml_;
    ScratchTree laptop_{"nvidia-optimus-laptop"};
};

TEST_F(NvmlSensorsTest, ASleepingCardIsNeitherReadNorWokenAndAnAwakeOneIs) {
    auto channels = nvmlEnergyChannels(laptop_.root(), FakeNvml::path());
    auto thermal = nvmlThermalServices(laptop_.root(), FakeNvml::path());
    ASSERT_EQ(channels.size(), 1u);
    EXPECT_EQ(channels[0].name, "GPU Energy");
    EXPECT_EQ(channels[0].unit, "mJ");
    ASSERT_TRUE(thermal);
    auto services = thermal->copyServices();
    ASSERT_EQ(services.size(), 1u);
    EXPECT_EQ(services[0].role, "GPU");

    EXPECT_EQ(channels[0].counter->read(), std::nullopt);
    EXPECT_EQ(services[0].sensor->temperature(), std::nullopt);
    EXPECT_EQ(nvml_.state().initCalls, 0) << "NVML stays closed while the only card sleeps";
    EXPECT_EQ(nvml_.state().deviceCalls, 0);

    laptop_.write(kCardPower, "active\n");
    EXPECT_EQ(channels[0].counter->read(), 123'456u);
    EXPECT_EQ(services[0].sensor->temperature(), 61);
}

TEST_F(NvmlSensorsTest, NoLibraryOrNoNvidiaCardMeansNoChannels) {
    EXPECT_TRUE(nvmlEnergyChannels(laptop_.root(), "/nonexistent/libnvidia-ml.so.1").empty());
    EXPECT_FALSE(nvmlThermalServices(laptop_.root(), "/nonexistent/libnvidia-ml.so.1"));
    EXPECT_TRUE(nvmlEnergyChannels(fixtureRoot("amd-two-gpus"), FakeNvml::path()).empty());
    EXPECT_FALSE(nvmlThermalServices(fixtureRoot("this-vm"), FakeNvml::path()));
}

}  // namespace
}  // namespace glintdeck
