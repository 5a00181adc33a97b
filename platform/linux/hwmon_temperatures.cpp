#include "platform/linux/hwmon_temperatures.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "core/printable_text.h"
#include "platform/linux/directory_entries.h"
#include "platform/linux/hwmon_chips.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

// No component of a running machine reads outside this range: a reading beyond it is a sensor
// that is absent or disconnected, or a firmware constant (-128, 0, 1, 9, 127, 255 °C).
constexpr double kLowestLiveCelsius = 10;
constexpr double kHighestLiveCelsius = 125;

// AMD's temperature control limit (Tctl max) of current processors: k10temp publishes no
// limit of the part's own, so this is its critical limit, as coretemp's TjMax is Intel's.
constexpr double kAmdControlLimitCelsius = 95;

bool isAnyOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isAmdProcessorDriver(std::string_view chip) { return chip == "k10temp" || chip == "zenpower"; }

std::optional<double> limit(const std::string& path) {
    std::optional<int64_t> value = readAttributeInteger(path);
    if (!value) return std::nullopt;
    return static_cast<double>(*value) / 1000;
}

// The limits the thermal state holds a processor or SoC input to.
void readLimits(const HwmonChip& chip, const HwmonAttribute& input, LinuxTemperatureInput& found) {
    found.critical = limit(siblingAttribute(input, "_crit"));
    found.maximum = limit(siblingAttribute(input, "_max"));
    if (isAmdProcessorDriver(chip.name)) {
        // k10temp's temp1_max is a fixed 70 °C, which these parts pass under any load; its
        // temp1_crit, where shown, is the older parts' configured throttle point.
        found.maximum.reset();
        if (!found.critical) found.critical = kAmdControlLimitCelsius;
    }
    std::string alarm = siblingAttribute(input, "_crit_alarm");
    std::error_code error;
    if (fs::exists(alarm, error)) found.criticalAlarmPath = alarm;
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
        if (readAttribute(supply / "type") != "Battery") continue;
        if (readAttribute(supply / "scope") == "Device") continue;  // a mouse, a game pad
        std::string path = (supply / "temp").string();
        if (!fs::exists(path, error)) continue;
        inputs.push_back({.product = printableText(name + " temp"),
                          .chipRole = "Battery",
                          .path = path,
                          .unitsPerDegree = 10,
                          .fromOwnDriver = true});
    }
}

}  // namespace

std::string LinuxTemperatureInput::role() const {
    if (chipRole) return *chipRole;
    return roleForProduct(product).value_or("");
}

std::optional<std::string> ownDriverRole(std::string_view chip) {
    if (isAnyOf(chip, {"coretemp", "k10temp", "zenpower", "cpu_thermal"})) return "CPU";
    if (isAnyOf(chip, {"amdgpu", "radeon", "nouveau", "i915", "xe"})) return "GPU";
    if (isAnyOf(chip, {"nvme", "drivetemp"})) return "SSD";
    if (chip == "soc_thermal" || chip.starts_with("soc_dts") || chip.starts_with("pch_")) {
        return "SoC";
    }
    if (chip.starts_with("BAT")) return "Battery";
    return std::nullopt;
}

std::optional<std::string> chipRole(std::string_view chip, std::string_view label) {
    if (auto role = ownDriverRole(chip)) return role;
    // The firmware's own zone: the platform's temperature, or a constant where the firmware
    // has no sensor behind it.
    if (chip == "acpitz") return "SoC";
    // dell_smm's "CPU" and "GPU" are the embedded controller's copies of what the processor's
    // and the card's own drivers report. A super-I/O chip's "CPUTIN" is a thermistor near the
    // socket, not the processor's own reading, and its spare inputs read whatever floats on
    // the pin.
    if (isAnyOf(chip, {"jc42", "spd5118", "ee1004", "dell_smm"}) || chip.starts_with("iwlwifi") ||
        isSuperIOChip(chip)) {
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

InputUse inputUse(std::string_view chip, std::string_view label,
                  const std::vector<std::string>& chipLabels) {
    auto has = [&](std::string_view wanted) {
        return std::any_of(chipLabels.begin(), chipLabels.end(),
                           [&](const std::string& l) { return l.starts_with(wanted); });
    };
    if (chip == "coretemp") {
        if (label.starts_with("Package id")) return InputUse::reading;
        return has("Package id") ? InputUse::detail : InputUse::hottest;
    }
    if (chip == "k10temp" || chip == "zenpower") {
        // Tdie is Tctl without the fan-control offset some processors add; the kernel shows
        // it only where the two differ.
        if (label == "Tdie") return InputUse::reading;
        if (label == "Tctl") return has("Tdie") ? InputUse::detail : InputUse::reading;
        return has("Tctl") || has("Tdie") ? InputUse::detail : InputUse::hottest;
    }
    if (chip == "nvme" && has("Composite")) {
        return label == "Composite" ? InputUse::reading : InputUse::detail;
    }
    if (chip == "amdgpu") {
        if (label == "mem") return InputUse::detail;
        if (label == "junction" && has("edge")) return InputUse::detail;
    }
    return InputUse::reading;
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
        std::vector<std::string> labels;
        for (HwmonAttribute& input : findHwmonAttributes(chip, "temp", "_input")) {
            std::string label = readAttribute(siblingAttribute(input, "_label"))
                                    .value_or("temp" + std::to_string(input.index));
            labels.push_back(label);
            labelled.push_back({std::move(input), std::move(label)});
        }
        for (const auto& [input, label] : labelled) {
            // Drivers copy labels from firmware tables, which may hold any bytes.
            LinuxTemperatureInput found{.product = printableText(chip.name + " " + label),
                                        .chipRole = chipRole(chip.name, label),
                                        .path = input.path,
                                        .use = inputUse(chip.name, label, labels),
                                        .chipDirectory = chip.directory,
                                        .fromOwnDriver = ownDriverRole(chip.name).has_value()};
            if (chip.isGpu) found.awakeDevice = chip.deviceDirectory;
            std::string role = found.role();
            if (role == "CPU" || role == "SoC") readLimits(chip, input, found);
            inputs.push_back(std::move(found));
        }
    }
    addPowerSupplyBatteries(root, chipNames, inputs);
    return inputs;
}

HwmonThermalServices::HwmonThermalServices(std::string root, std::shared_ptr<GpuReadSchedule> gpus)
    : root_(std::move(root)), gpus_(std::move(gpus)) {}

std::vector<ThermalService> HwmonThermalServices::copyServices() {
    // Each service's inputs: one "reading" input, or a chip's "hottest" inputs together.
    std::vector<LinuxTemperatureInput> inputs = discoverTemperatureInputs(root_);
    // A role its component's own driver reports is not averaged with the copies embedded
    // controllers keep of it (applesmc's TC* beside coretemp), nor with the firmware's ACPI
    // zone (acpitz beside pch_cometlake).
    std::set<std::string> reportedByOwnDriver;
    for (const LinuxTemperatureInput& input : inputs) {
        if (input.fromOwnDriver) reportedByOwnDriver.insert(input.role());
    }
    std::vector<std::vector<LinuxTemperatureInput>> groups;
    std::map<std::string, size_t> hottestGroup;  // chip folder -> its group
    for (LinuxTemperatureInput& input : inputs) {
        std::string role = input.role();
        if (input.use == InputUse::detail || role.empty()) continue;
        if (!input.fromOwnDriver && reportedByOwnDriver.contains(role)) continue;
        if (input.use == InputUse::hottest) {
            auto [found, added] = hottestGroup.emplace(input.chipDirectory, groups.size());
            if (!added) {
                groups[found->second].push_back(std::move(input));
                continue;
            }
        }
        groups.emplace_back().push_back(std::move(input));
    }
    std::vector<ThermalService> services;
    for (const std::vector<LinuxTemperatureInput>& group : groups) {
        const LinuxTemperatureInput& first = group.front();
        services.push_back({.product = first.product,
                            .role = first.chipRole,
                            .sensor = std::make_unique<LinuxTemperatureSensor>(group, gpus_)});
    }
    return services;
}

LinuxTemperatureSensor::LinuxTemperatureSensor(const std::vector<LinuxTemperatureInput>& inputs,
                                               const std::shared_ptr<GpuReadSchedule>& gpus) {
    for (const LinuxTemperatureInput& input : inputs) {
        Input& added = inputs_.emplace_back();
        added.file = std::make_unique<KernelFile>(input.path, kLargestAttribute);
        added.unitsPerDegree = input.unitsPerDegree;
        if (!input.awakeDevice.empty()) added.gate = {gpus, input.awakeDevice};
        // A processor in a cold room idles below 10 °C; the reader's own test still applies.
        added.liveRangeOnly = !input.isProcessorsOwn();
    }
}

std::optional<double> LinuxTemperatureSensor::temperature() {
    std::optional<double> hottest;
    for (Input& input : inputs_) {
        std::optional<double> celsius = input.gate.read([&]() -> std::optional<double> {
            std::optional<std::string_view> text = input.file->read();
            std::optional<int64_t> value = text ? parseAttributeInteger(*text) : std::nullopt;
            if (!value) return std::nullopt;
            return static_cast<double>(*value) / input.unitsPerDegree;
        });
        if (!celsius) continue;
        if (input.liveRangeOnly &&
            (*celsius < kLowestLiveCelsius || *celsius > kHighestLiveCelsius)) {
            continue;
        }
        if (!hottest || *celsius > *hottest) hottest = celsius;
    }
    return hottest;
}

}  // namespace glintdeck
