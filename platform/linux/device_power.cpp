#include "platform/linux/device_power.h"

#include <fstream>

namespace glintdeck {

bool deviceIsAwake(const std::string& deviceDirectory) {
    std::ifstream file(deviceDirectory + "/power/runtime_status");
    if (!file) return true;
    std::string status;
    file >> status;
    // "active" is the only state in which the device answers without being resumed; "resuming"
    // and "suspending" are on their way, and a read would race the driver. "unsupported" means
    // runtime power management is disabled for the device, which then never sleeps.
    return status == "active" || status == "unsupported";
}

}  // namespace glintdeck
