#include "platform/linux/pci_names.h"

#include <gtest/gtest.h>

#include "platform/linux/device_power.h"
#include "platform/linux/pci_display_devices.h"
#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

TEST(PciNamesTest, NamesComeFromTheDatabaseAndAMalformedOneIsNotFatal) {
    PciNames good(fixtureRoot("pci-ids") + "/good.ids");
    EXPECT_EQ(good.deviceName(0x10de, 0x25a2), "GA107M [GeForce RTX 3050 Mobile]");
    EXPECT_EQ(good.deviceName(0x10de, 0xffff), std::nullopt) << "no numeric stand-in";
    // libpci's default error handler exits the process on a bad line.
    PciNames malformed(fixtureRoot("pci-ids") + "/malformed.ids");
    EXPECT_EQ(malformed.deviceName(0x1002, 0x73ff), std::nullopt);
    EXPECT_EQ(malformed.deviceName(0x1002, 0x73ff), std::nullopt);
    PciNames missing(fixtureRoot("pci-ids") + "/missing.ids");
    EXPECT_EQ(missing.deviceName(0x1002, 0x73ff), std::nullopt);
}

TEST(PciNamesTest, ProductNameIsTheBracketedPart) {
    EXPECT_EQ(productName("Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]"),
              "Radeon RX 6800/6800 XT / 6900 XT");
    EXPECT_EQ(productName("GeForce GTX 1080"), "GeForce GTX 1080");
    EXPECT_EQ(productName("Broken [name"), "Broken [name");
    EXPECT_EQ(productName("Odd []"), "Odd []");
}

TEST(PciDisplayDevicesTest, UeventGivesDriverClassIdsAndSlot) {
    EXPECT_EQ(parsePciUevent("DRIVER=nvidia\nPCI_CLASS=30200\nPCI_ID=10DE:25A2\n"
                             "PCI_SUBSYS_ID=17AA:22D8\nPCI_SLOT_NAME=0000:01:00.0\n"),
              (PciUevent{.driver = "nvidia",
                         .pciClass = 0x030200,
                         .vendor = 0x10de,
                         .device = 0x25a2,
                         .slot = "0000:01:00.0"}));
    // No driver bound and a damaged id line: listed, but with nothing to name it by.
    EXPECT_EQ(parsePciUevent("PCI_CLASS=30000\nPCI_ID=10DE\n"), (PciUevent{.pciClass = 0x030000}));
}

TEST(DevicePowerTest, OnlyActiveOrUnmanagedDevicesAreAwake) {
    std::string devices = fixtureRoot("gpu-power-states") + "/sys/devices/";
    EXPECT_TRUE(deviceIsAwake(devices + "awake"));
    EXPECT_FALSE(deviceIsAwake(devices + "suspended"));
    EXPECT_TRUE(deviceIsAwake(devices + "always-on")) << "no runtime power management";
    EXPECT_TRUE(deviceIsAwake(devices + "unmanaged")) << "runtime power management disabled";
}

}  // namespace
}  // namespace glintdeck
