#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/kernel_file.h"

namespace glintdeck {

// One battery's attributes as /sys/class/power_supply reports them (kernel ABI document
// sysfs-class-power), in the kernel's units. A file the driver does not provide is absent.
struct BatteryReading {
    std::string status;  // "Charging", "Discharging", "Full", "Not charging", "Unknown"
    std::optional<int64_t> energyNow;         // µWh
    std::optional<int64_t> energyFull;        // µWh
    std::optional<int64_t> energyFullDesign;  // µWh
    std::optional<int64_t> chargeNow;         // µAh
    std::optional<int64_t> chargeFull;        // µAh
    std::optional<int64_t> chargeFullDesign;  // µAh
    std::optional<int64_t> capacity;          // percent
    std::optional<int64_t> powerNow;          // µW; negative while discharging on some drivers
    std::optional<int64_t> currentNow;        // µA; likewise signed on some drivers
    std::optional<int64_t> voltageNow;        // µV
    std::optional<int64_t> timeToEmptyNow;    // seconds
    std::optional<int64_t> timeToFullNow;     // seconds
    std::optional<int64_t> cycleCount;
    std::optional<int64_t> temp;  // tenths of a degree Celsius
    bool operator==(const BatteryReading&) const = default;
};

struct PowerSupplyReading {
    std::vector<BatteryReading> batteries;  // in name order, only those present
    bool onLinePower = false;               // some Mains or USB supply is online
    bool operator==(const PowerSupplyReading&) const = default;
};

// A numeric battery attribute: its file name under the supply's folder and the field it fills.
struct BatteryNumberAttribute {
    std::string_view name;
    std::optional<int64_t> BatteryReading::*field;
};

// Every numeric attribute read() looks for, one per optional field of BatteryReading.
[[nodiscard]] std::span<const BatteryNumberAttribute> batteryNumberAttributes();

// The machine's own batteries and line-power supplies under root/sys/class/power_supply.
// Batteries of scope Device (mice, keyboards, game pads) and UPSes are not the machine's
// power source and are left out. discover() lists the supplies and opens nothing but what
// exists then; read() re-reads their attributes through kept-open descriptors.
class PowerSupplyReader final {
  public:
    explicit PowerSupplyReader(std::string root);
    ~PowerSupplyReader();

    void discover();
    [[nodiscard]] PowerSupplyReading read();

  private:
    struct Battery;

    std::string root_;
    std::vector<std::unique_ptr<Battery>> batteries_;
    std::vector<std::unique_ptr<KernelFile>> lineOnline_;
};

}  // namespace glintdeck
