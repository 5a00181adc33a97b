#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/kernel_file.h"
#include "samplers/iohid_temperature_reader.h"

namespace glintdeck {

// A temperature input Linux offers: an hwmon tempK_input (millidegrees) or a battery's
// power-supply temp (tenths of a degree), with the product text the reader sorts it by.
struct LinuxTemperatureInput {
    std::string product;  // chip name, a space, tempK_label (or "tempK"): "k10temp Tccd1"
    // The role the chip's name decides; an empty text means the input is not used; none means
    // the product text decides, as for any sensor.
    std::optional<std::string> chipRole;
    std::string path;
    double unitsPerDegree = 1000;
    // Limits, read at discovery for processor and SoC inputs only (the thermal state's).
    std::optional<double> critical;  // tempK_crit
    std::optional<double> maximum;   // tempK_max
    std::string criticalAlarmPath;   // tempK_crit_alarm, empty when the chip has none
    // A GPU's device folder: its inputs are read only while it is awake.
    std::string awakeDevice;

    // The chip role, else the product text's; empty when the input plays no role.
    [[nodiscard]] std::string role() const;
};

// The role a chip's name gives one of its inputs: processor drivers are "CPU", graphics
// drivers "GPU", drives "SSD", chipset and ACPI zones "SoC", batteries "Battery"; Wi-Fi,
// memory-module and motherboard (super-I/O) sensors play none, since their readings are not
// the part's own. applesmc labels carry controller key names (TC0P, TG0D...). Nothing for
// chips these rules do not know.
[[nodiscard]] std::optional<std::string> chipRole(std::string_view chip, std::string_view label);

// Every temperature input under root, in chip order. A k10temp "Tctl" is left out where the
// chip also reports "Tdie" or "Tccd" values, since Tctl carries a fan-control offset on some
// processors. A battery's power-supply temp is left out when the battery has an hwmon chip of
// its own. Discovery reads names and labels only: nothing that would wake a sleeping GPU.
[[nodiscard]] std::vector<LinuxTemperatureInput> discoverTemperatureInputs(const std::string& root);

// The inputs as thermal sensors for the temperature reader.
class HwmonThermalServices final : public ThermalServiceSource {
  public:
    explicit HwmonThermalServices(std::string root);
    [[nodiscard]] std::vector<ThermalService> copyServices() override;

  private:
    std::string root_;
};

// Reads one input at each call: kept open, and skipped while its GPU sleeps.
class LinuxTemperatureSensor final : public TemperatureSensor {
  public:
    explicit LinuxTemperatureSensor(const LinuxTemperatureInput& input);
    [[nodiscard]] std::optional<double> temperature() override;

  private:
    KernelFile file_;
    double unitsPerDegree_;
    std::string awakeDevice_;
};

}  // namespace glintdeck
