#include "platform/linux/hwmon_temperatures.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/printable_text.h"
#include "platform/linux/device_power.h"
#include "platform/linux/directory_entries.h"
#include "platform/linux/hwmon_chips.h"
#include "platform/linux/sysfs_value.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

bool isAnyOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Motherboard monitoring chips: their "CPUTIN" is a thermistor near the socket, not the
// processor's own reading, and their spare inputs read whatever floats on the pin.
bool isSuperIO(std::string_view chip) {
    return chip.starts_with("nct6") || chip.starts_with("it8") || chip.starts_with("w83") ||
           chip.starts_with("f71");
}

std::optional<double> limit(const std::string& path) {
    std::optional<int64_t> value = readSysfsInteger(path);
    if (!value) return std::nullopt;
    return static_cast<double>(*value) / 1000;
}

void addPowerSupplyBatteries(const std::string& root, const std::set<std::string>& chipNames,
                             std::vector<LinuxTemperatureInput>& inputs) {
    std::error_code error;
    std::vector<fs::path> supplies;
    for (const auto& entry : DirectoryEntries(root + "/sys/class/power_supply")) {
        supplies.push_back(entry.path());
    }
    std::sort(supplies.begin(), supplies.end());
    for (const fs::path& supply : supplies) {
        std::string name = supply.filename().string();
        // A supply with a temperature has an hwmon chip of its name on current kernels.
        if (chipNames.contains(name)) continue;
        if (readSysfsText(supply / "type") != "Battery") continue;
        if (readSysfsText(supply / "scope") == "Device") continue;  // a mouse, a game pad
        std::string path = (supply / "temp").string();
        if (!fs::exists(path, error)) continue;
        inputs.push_back({.product = printableText(name + " temp"),
                          .chipRole = "Battery",
                          .path = path,
                          .unitsPerDegree = 10});
    }
}

}  // namespace

std::string LinuxTemperatureInput::role() const {
    if (chipRole) return *chipRole;
    return roleForProduct(product).value_or("");
}

std::optional<std::string> chipRole(std::string_view chip, std::string_view label) {
    if (isAnyOf(chip, {"coretemp", "k10temp", "zenpower", "cpu_thermal"})) return "CPU";
    if (isAnyOf(chip, {"amdgpu", "radeon", "nouveau", "i915", "xe"})) return "GPU";
    if (isAnyOf(chip, {"nvme", "drivetemp"})) return "SSD";
    if (isAnyOf(chip, {"acpitz", "soc_thermal"}) || chip.starts_with("pch_")) return "SoC";
    if (chip.starts_with("BAT")) return "Battery";
    if (isAnyOf(chip, {"jc42", "spd5118", "ee1004"}) || chip.starts_with("iwlwifi") ||
        isSuperIO(chip)) {
        return "";
    }
    if (chip == "applesmc") {
        if (label.starts_with("TC")) return "CPU";
        if (label.starts_with("TG")) return "GPU";
        if (label.starts_with("TB")) return "Battery";
        if (label.starts_with("TH")) return "SSD";
        return "";  // ambient, memory, wireless and the like
    }
    return std::nullopt;
}

std::vector<LinuxTemperatureInput> discoverTemperatureInputs(const std::string& root) {
    std::vector<LinuxTemperatureInput> inputs;
    std::set<std::string> chipNames;
    for (const HwmonChip& chip : listHwmonChips(root)) {
        chipNames.insert(chip.name);
        struct Labelled {
            HwmonAttribute input;
            std::string label;
        };
        std::vector<Labelled> labelled;
        bool hasDieReadings = false;
        for (HwmonAttribute& input : findHwmonAttributes(chip, "temp", "_input")) {
            std::string label = readSysfsText(siblingAttribute(input, "_label"))
                                    .value_or("temp" + std::to_string(input.index));
            hasDieReadings |= label == "Tdie" || label.starts_with("Tccd");
            labelled.push_back({std::move(input), std::move(label)});
        }
        for (const auto& [input, label] : labelled) {
            if (chip.name == "k10temp" && label == "Tctl" && hasDieReadings) continue;
            // Drivers copy labels from firmware tables, which may hold any bytes.
            LinuxTemperatureInput found{.product = printableText(chip.name + " " + label),
                                        .chipRole = chipRole(chip.name, label),
                                        .path = input.path};
            if (chip.isGpu) found.awakeDevice = chip.deviceDirectory;
            std::string role = found.role();
            if (role == "CPU" || role == "SoC") {
                found.critical = limit(siblingAttribute(input, "_crit"));
                found.maximum = limit(siblingAttribute(input, "_max"));
                std::string alarm = siblingAttribute(input, "_crit_alarm");
                std::error_code error;
                if (fs::exists(alarm, error)) found.criticalAlarmPath = alarm;
            }
            inputs.push_back(std::move(found));
        }
    }
    addPowerSupplyBatteries(root, chipNames, inputs);
    return inputs;
}

HwmonThermalServices::HwmonThermalServices(std::string root) : root_(std::move(root)) {}

std::vector<ThermalService> HwmonThermalServices::copyServices() {
    std::vector<ThermalService> services;
    for (const LinuxTemperatureInput& input : discoverTemperatureInputs(root_)) {
        services.push_back({.product = input.product,
                            .role = input.chipRole,
                            .sensor = std::make_unique<LinuxTemperatureSensor>(input)});
    }
    return services;
}

LinuxTemperatureSensor::LinuxTemperatureSensor(const LinuxTemperatureInput& input)
    : file_(input.path), unitsPerDegree_(input.unitsPerDegree), awakeDevice_(input.awakeDevice) {}

std::optional<double> LinuxTemperatureSensor::temperature() {
    if (!awakeDevice_.empty() && !deviceIsAwake(awakeDevice_)) return std::nullopt;
    std::optional<std::string_view> text = file_.read();
    if (!text) return std::nullopt;
    std::optional<int64_t> value = parseSysfsInteger(*text);
    if (!value) return std::nullopt;
    return static_cast<double>(*value) / unitsPerDegree_;
}

}  // namespace glintdeck
