#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// A graphics processor on the PCI bus, as its sysfs uevent describes it. These are the
// kernel's cached copies of the device's identity: reading them never touches the device,
// so a runtime-suspended card stays asleep.
struct PciDisplayDevice {
    std::string directory;  // root/sys/bus/pci/devices/<slot>
    std::string slot;       // "0000:01:00.0", the name NVML also accepts
    std::string driver;     // "amdgpu", "nvidia", "i915"; empty when none is bound
    uint16_t vendor = 0;
    uint16_t device = 0;
    bool operator==(const PciDisplayDevice&) const = default;
};

struct PciUevent {
    std::string driver;
    std::optional<uint32_t> pciClass;  // 0x030000 for a VGA controller
    uint16_t vendor = 0;
    uint16_t device = 0;
    std::string slot;
    bool operator==(const PciUevent&) const = default;
};

// The DRIVER, PCI_CLASS, PCI_ID and PCI_SLOT_NAME lines of a PCI device's uevent.
[[nodiscard]] PciUevent parsePciUevent(std::string_view text);

// Every display controller (PCI base class 0x03: VGA, XGA, 3D) under root/sys/bus/pci/devices,
// in bus order. Bus order rather than DRM card order, so that a compute card without a DRM
// node (NVIDIA without nvidia-drm) is found and firmware framebuffers are not.
[[nodiscard]] std::vector<PciDisplayDevice> findPciDisplayDevices(const std::string& root);

}  // namespace glintdeck
