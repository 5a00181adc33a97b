#pragma once

#include <string>

namespace glintdeck {

// Whether a device (a sysfs device directory, such as /sys/class/drm/card0/device) is awake.
// Reading a runtime-suspended discrete GPU's sensors, or calling its driver, wakes it and costs
// laptop users hours of battery, so every read of a PCI GPU asks this first. A device without
// runtime power management (no power/runtime_status, or "unsupported" there) is always on.
[[nodiscard]] bool deviceIsAwake(const std::string& deviceDirectory);

}  // namespace glintdeck
