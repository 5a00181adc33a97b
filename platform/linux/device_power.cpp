#include "platform/linux/device_power.h"

#include <optional>

#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {

bool deviceIsAwake(const std::string& deviceDirectory) {
    std::optional<std::string> status = readAttribute(deviceDirectory + "/power/runtime_status");
    if (!status) return true;
    // "active" is the only state in which the device answers without being resumed; "resuming"
    // and "suspending" are on their way, and a read would race the driver. "unsupported" means
    // runtime power management is disabled for the device, which then never sleeps.
    return *status == "active" || *status == "unsupported";
}

}  // namespace glintdeck
