#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/gpu_sensor_gate.h"
#include "platform/linux/kernel_file.h"
#include "samplers/iohid_temperature_reader.h"

namespace glintdeck {

// How an input counts toward its role's temperature. Chips that summarise their own inputs
// are read the way `sensors` and the firmware show them, not averaged with the parts they
// summarise: coretemp's "Package id N" over its cores, k10temp's Tctl (or Tdie) over its
// per-CCD Tccd values, nvme's "Composite" over its "Sensor N", amdgpu's "edge" over
// "junction" and "mem" (the memory's, never the GPU's).
enum class InputUse {
    reading,  // the input's own reading
    hottest,  // the hottest of the chip's inputs of this use: cores without a package reading
    detail,   // part of what another input of its chip summarises
};

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
    std::optional<double> critical;  // tempK_crit; AMD's control limit for k10temp, zenpower
    std::optional<double> maximum;   // tempK_max; none for k10temp, whose 70 °C is fixed
    std::string criticalAlarmPath;   // tempK_crit_alarm, empty when the chip has none
    // A GPU's device folder: its inputs are read as the card's schedule allows.
    std::string awakeDevice;
    InputUse use = InputUse::reading;
    std::string chipDirectory;   // the chip's folder, which groups the "hottest" inputs
    bool fromOwnDriver = false;  // the component's own driver, not a controller's copy

    // The chip role, else the product text's; empty when the input plays no role.
    [[nodiscard]] std::string role() const;
    // The processor's own driver's reading, which is never taken for a placeholder.
    [[nodiscard]] bool isProcessorsOwn() const { return fromOwnDriver && role() == "CPU"; }
};

// The role of a chip whose driver is the component's own (the processor's, the card's, the
// drive's, the chipset's, the battery's); nothing for other chips, ACPI zones included.
[[nodiscard]] std::optional<std::string> ownDriverRole(std::string_view chip);

// The role a chip's name gives one of its inputs: processor drivers are "CPU", graphics
// drivers "GPU", drives "SSD", chipset and ACPI zones "SoC", batteries "Battery"; Wi-Fi,
// memory-module and motherboard (super-I/O) sensors play none, since their readings are not
// the part's own. applesmc labels carry controller key names (TC0P, TG0D...). Nothing for
// chips these rules do not know.
[[nodiscard]] std::optional<std::string> chipRole(std::string_view chip, std::string_view label);

// How one input of a chip counts, from the chip's name, the input's label and the labels of
// all the chip's temperature inputs.
[[nodiscard]] InputUse inputUse(std::string_view chip, std::string_view label,
                                const std::vector<std::string>& chipLabels);

// Every temperature input under root, in chip order, detail inputs included (the thermal state
// watches every processor input). A battery's power-supply temp is left out when the battery
// has an hwmon chip of its own. Discovery reads names and labels only: nothing that would
// wake a sleeping GPU.
[[nodiscard]] std::vector<LinuxTemperatureInput> discoverTemperatureInputs(const std::string& root);

// The inputs as thermal sensors for the temperature reader: one sensor per "reading" input and
// one per chip for its "hottest" inputs; detail inputs are not sensors. A role its component's
// own driver reports takes no embedded controller's copy of it, nor an ACPI zone's: the
// firmware's zone is the chipset's temperature only where no chipset sensor (pch_*) exists.
// Placeholders are known by what they read, never by holding still (a quiet machine's package
// may read the same whole degree for minutes): an input reading below 10 °C or above 125 °C
// gives no temperature, except the processor's own, which is always kept.
class HwmonThermalServices final : public ThermalServiceSource {
  public:
    HwmonThermalServices(std::string root, std::shared_ptr<GpuReadSchedule> gpus);
    [[nodiscard]] std::vector<ThermalService> copyServices() override;

  private:
    std::string root_;
    std::shared_ptr<GpuReadSchedule> gpus_;
};

// Reads its inputs at each call (files kept open, a GPU's as its schedule allows) and gives
// the hottest of them.
class LinuxTemperatureSensor final : public TemperatureSensor {
  public:
    LinuxTemperatureSensor(const std::vector<LinuxTemperatureInput>& inputs,
                           const std::shared_ptr<GpuReadSchedule>& gpus);
    [[nodiscard]] std::optional<double> temperature() override;

  private:
    struct Input {
        std::unique_ptr<KernelFile> file;
        double unitsPerDegree = 1000;
        GpuSensorGate<double> gate;
        bool liveRangeOnly = true;  // false for the processor's own reading
    };
    std::vector<Input> inputs_;
};

}  // namespace glintdeck
