#include "platform/linux/nvml_sensors.h"

#include <gtest/gtest.h>

#include "platform/linux/nvml_library.h"

#include "tests/support/fake_nvml_control.h"
#include "tests/support/fixture_tree.h"
#include "tests/support/gpu_schedule.h"

namespace glintdeck {
namespace {

constexpr char kCardPower[] = "sys/bus/pci/devices/0000:01:00.0/power/runtime_status";

class NvmlSensorsTest : public testing::Test {
  protected:
    void SetUp() override {
        card_.temperature = 61;
        card_.energyMillijoules = 123'456;
        auto channels = nvmlEnergyChannels(laptop_.root(), gpus_, FakeNvml::path());
        auto thermal = nvmlThermalServices(laptop_.root(), gpus_, FakeNvml::path());
        ASSERT_EQ(channels.size(), 1u);
        energy_ = std::move(channels[0].counter);
        ASSERT_TRUE(thermal);
        auto services = thermal->copyServices();
        ASSERT_EQ(services.size(), 1u);
        temperature_ = std::move(services[0].sensor);
    }

    FakeNvml nvml_;
    FakeNvmlDevice& card_ = nvml_.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050", 0);
    FixtureTree laptop_{"nvidia-optimus-laptop"};
    std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
    std::shared_ptr<GpuReadSchedule> gpus_ = gpuSchedule(clock_);
    std::unique_ptr<EnergyCounter> energy_;
    std::unique_ptr<TemperatureSensor> temperature_;
};

TEST_F(NvmlSensorsTest, AnIdleCardIsReadOncePerAutosuspendDelayWithNoSessionBetween) {
    laptop_.write(kCardPower, "active\n");
    struct Step {
        double second;
        unsigned celsius;      // what the card would say
        unsigned utilization;  // likewise
        double expected;       // what the sensor gives
        int initCalls;         // sessions opened so far
        int openSessions;
    };
    for (const Step& step : {
             Step{0, 61, 0, 61, 1, 0},    // read, and closed again: the card is idle
             Step{0.5, 62, 0, 61, 2, 0},  // the power reader's turn in the same round
             Step{1, 63, 0, 61, 2, 0},    // held: no session, no call
             Step{11, 64, 0, 61, 2, 0},   // the driver's 10 s and a 2 s margin not yet over
             Step{12, 65, 80, 65, 3, 1},  // the next round finds it busy: the session stays
             Step{13, 66, 80, 66, 3, 1},  // and it is read every tick
         }) {
        clock_->now = step.second;
        card_.temperature = step.celsius;
        card_.utilization = step.utilization;
        card_.energyMillijoules += 1000;
        if (step.second == 0.5) {
            EXPECT_TRUE(energy_->read().has_value());
        } else {
            EXPECT_EQ(temperature_->temperature(), step.expected) << "second " << step.second;
        }
        EXPECT_EQ(nvml_.state().initCalls, step.initCalls) << "second " << step.second;
        EXPECT_EQ(nvml_.state().sessions, step.openSessions) << "second " << step.second;
    }
}

TEST(NvmlSensorsWithoutCardTest, NoLibraryOrNoNvidiaCardMeansNoChannels) {
    FakeNvml nvml;
    auto gpus = gpuSchedule();
    FixtureTree laptop("nvidia-optimus-laptop");
    EXPECT_TRUE(nvmlEnergyChannels(laptop.root(), gpus, "/nonexistent/libnvidia-ml.so.1").empty());
    EXPECT_FALSE(nvmlThermalServices(laptop.root(), gpus, "/nonexistent/libnvidia-ml.so.1"));
    EXPECT_TRUE(nvmlEnergyChannels(fixtureRoot("amd-two-gpus"), gpus, FakeNvml::path()).empty());
    EXPECT_FALSE(nvmlThermalServices(fixtureRoot("this-vm"), gpus, FakeNvml::path()));
}

TEST(NvmlLibraryTest, AnswersAboutDevicesOnlyWithinASession) {
    EXPECT_EQ(NvmlLibrary::load("/nonexistent/libnvidia-ml.so.1"), nullptr);
    EXPECT_EQ(NvmlLibrary::load("libm.so.6"), nullptr) << "a library without NVML's entry points";
    FakeNvml fake;
    FakeNvmlDevice& card = fake.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050 Laptop GPU", 37);
    card.temperature = 54;
    card.energyMillijoules = 123'456'789'012ull;
    auto nvml = NvmlLibrary::load(FakeNvml::path());
    ASSERT_NE(nvml, nullptr);
    EXPECT_EQ(nvml->deviceByPciBusId("0000:01:00.0"), std::nullopt) << "not initialised yet";
    EXPECT_EQ(fake.state().initCalls, 0) << "loading does not initialise";

    ASSERT_TRUE(nvml->initialize());
    ASSERT_TRUE(nvml->initialize()) << "a second call keeps the one session";
    EXPECT_EQ(fake.state().sessions, 1);
    EXPECT_EQ(nvml->deviceCount(), 1u);
    auto device = nvml->deviceByPciBusId("0000:01:00.0");
    ASSERT_TRUE(device.has_value());
    EXPECT_EQ(nvml->utilizationPercent(*device), 37u);
    EXPECT_EQ(nvml->name(*device), "NVIDIA GeForce RTX 3050 Laptop GPU");
    EXPECT_EQ(nvml->temperatureCelsius(*device), 54u);
    EXPECT_EQ(nvml->totalEnergyMillijoules(*device), 123'456'789'012ull);
    EXPECT_TRUE(nvml->deviceByIndex(0).has_value());
    EXPECT_EQ(nvml->deviceByIndex(1), std::nullopt);
    EXPECT_EQ(nvml->deviceByPciBusId("0000:02:00.0"), std::nullopt);
    nvml->shutdown();
    EXPECT_EQ(fake.state().sessions, 0);
    EXPECT_EQ(nvml->utilizationPercent(*device), std::nullopt) << "a stale handle is not used";

    ASSERT_TRUE(nvml->initialize());
    nvml.reset();
    EXPECT_EQ(fake.state().sessions, 0) << "dropping the library ends its session";

    // A driver that refuses leaves every query unanswered, without asking it.
    fake.state().initResult = 9;  // NVML_ERROR_DRIVER_NOT_LOADED
    const int deviceCalls = fake.state().deviceCalls;
    nvml = NvmlLibrary::load(FakeNvml::path());
    ASSERT_NE(nvml, nullptr);
    EXPECT_FALSE(nvml->initialize());
    EXPECT_FALSE(nvml->isInitialized());
    EXPECT_EQ(nvml->deviceCount(), std::nullopt);
    EXPECT_EQ(nvml->deviceByIndex(0), std::nullopt);
    EXPECT_EQ(fake.state().deviceCalls, deviceCalls);
}

}  // namespace
}  // namespace glintdeck
