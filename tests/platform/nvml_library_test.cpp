#include "platform/linux/nvml_library.h"

#include <gtest/gtest.h>

#include "tests/support/fake_nvml_control.h"

namespace glintdeck {
namespace {

TEST(NvmlLibraryTest, AbsentLibraryOrOneThatIsNotNvmlLoadsNothing) {
    EXPECT_EQ(NvmlLibrary::load("/nonexistent/libnvidia-ml.so.1"), nullptr);
    EXPECT_EQ(NvmlLibrary::load("libm.so.6"), nullptr) << "a library without NVML's entry points";
}

TEST(NvmlLibraryTest, AnswersAboutDevicesOnlyWithinASession) {
    FakeNvml fake;
    FakeNvmlDevice& card = fake.addDevice("0000:01:00.0", "NVIDIA GeForce RTX 3050 Laptop GPU", 37);
    card.temperature = 54;
    card.energyMillijoules = 123'456'789'012ull;
    auto nvml = NvmlLibrary::load(FakeNvml::path());
    ASSERT_NE(nvml, nullptr);

    EXPECT_EQ(nvml->deviceByPciBusId("0000:01:00.0"), std::nullopt) << "not initialised yet";
    EXPECT_EQ(fake.state().initCalls, 0) << "loading does not initialise";
    EXPECT_EQ(fake.state().deviceCalls, 0);

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
}

TEST(NvmlLibraryTest, FailedInitialisationLeavesEveryQueryUnanswered) {
    FakeNvml fake;
    fake.addDevice("0000:01:00.0", "GPU", 10);
    fake.state().initResult = 9;  // NVML_ERROR_DRIVER_NOT_LOADED
    auto nvml = NvmlLibrary::load(FakeNvml::path());
    ASSERT_NE(nvml, nullptr);
    EXPECT_FALSE(nvml->initialize());
    EXPECT_FALSE(nvml->isInitialized());
    EXPECT_EQ(nvml->deviceCount(), std::nullopt);
    EXPECT_EQ(nvml->deviceByIndex(0), std::nullopt);
    EXPECT_EQ(fake.state().deviceCalls, 0);
}

TEST(NvmlLibraryTest, DroppingTheLibraryEndsItsSession) {
    FakeNvml fake;
    {
        auto nvml = NvmlLibrary::load(FakeNvml::path());
        ASSERT_NE(nvml, nullptr);
        ASSERT_TRUE(nvml->initialize());
        EXPECT_EQ(fake.state().sessions, 1);
    }
    EXPECT_EQ(fake.state().sessions, 0);
}

}  // namespace
}  // namespace glintdeck
