#include "platform/linux/device_power.h"

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

TEST(DevicePowerTest, OnlyActiveOrUnmanagedDevicesAreAwake) {
    std::string devices = fixtureRoot("gpu-power-states") + "/sys/devices/";
    EXPECT_TRUE(deviceIsAwake(devices + "awake"));
    EXPECT_FALSE(deviceIsAwake(devices + "suspended"));
    EXPECT_TRUE(deviceIsAwake(devices + "always-on")) << "no runtime power management";
    EXPECT_TRUE(deviceIsAwake(devices + "unmanaged")) << "runtime power management disabled";
}

}  // namespace
}  // namespace glintdeck
