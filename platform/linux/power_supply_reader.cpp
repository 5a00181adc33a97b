#include "platform/linux/power_supply_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "platform/linux/directory_entries.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

constexpr std::array<BatteryNumberAttribute, 14> kNumbers{{
    {"energy_now", &BatteryReading::energyNow},
    {"energy_full", &BatteryReading::energyFull},
    {"energy_full_design", &BatteryReading::energyFullDesign},
    {"charge_now", &BatteryReading::chargeNow},
    {"charge_full", &BatteryReading::chargeFull},
    {"charge_full_design", &BatteryReading::chargeFullDesign},
    {"capacity", &BatteryReading::capacity},
    {"power_now", &BatteryReading::powerNow},
    {"current_now", &BatteryReading::currentNow},
    {"voltage_now", &BatteryReading::voltageNow},
    {"time_to_empty_now", &BatteryReading::timeToEmptyNow},
    {"time_to_full_now", &BatteryReading::timeToFullNow},
    {"cycle_count", &BatteryReading::cycleCount},
    {"temp", &BatteryReading::temp},
}};

std::unique_ptr<KernelFile> openIfPresent(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return nullptr;
    return std::make_unique<KernelFile>(path.string(), kLargestAttribute);
}

bool isLinePower(std::string_view type) {
    // Older kernels name USB charger kinds as types of their own (USB_DCP, USB_C, USB_PD...).
    return type == "Mains" || type.starts_with("USB");
}

}  // namespace

std::span<const BatteryNumberAttribute> batteryNumberAttributes() { return kNumbers; }

struct PowerSupplyReader::Battery {
    std::unique_ptr<KernelFile> present;
    std::unique_ptr<KernelFile> status;
    std::array<std::unique_ptr<KernelFile>, kNumbers.size()> numbers;
};

PowerSupplyReader::PowerSupplyReader(std::string root) : root_(std::move(root)) {}

PowerSupplyReader::~PowerSupplyReader() = default;

void PowerSupplyReader::discover() {
    batteries_.clear();
    lineOnline_.clear();
    std::filesystem::path folder = std::filesystem::path(root_) / "sys/class/power_supply";
    std::vector<std::filesystem::path> supplies;
    for (const auto& entry : DirectoryEntries(folder)) {
        supplies.push_back(entry.path());
    }
    // Directory order is arbitrary; BAT0 before BAT1 makes "the first battery" stable.
    std::sort(supplies.begin(), supplies.end());

    for (const std::filesystem::path& supply : supplies) {
        std::optional<std::string> type = readAttribute(supply / "type");
        if (!type) continue;
        if (readAttribute(supply / "scope") == "Device") continue;
        if (*type == "Battery") {
            auto battery = std::make_unique<Battery>();
            battery->present = openIfPresent(supply / "present");
            battery->status = openIfPresent(supply / "status");
            for (size_t i = 0; i < kNumbers.size(); ++i) {
                battery->numbers[i] = openIfPresent(supply / kNumbers[i].name);
            }
            batteries_.push_back(std::move(battery));
        } else if (isLinePower(*type)) {
            if (auto online = openIfPresent(supply / "online")) {
                lineOnline_.push_back(std::move(online));
            }
        }
    }
}

PowerSupplyReading PowerSupplyReader::read() {
    PowerSupplyReading reading;
    for (const auto& battery : batteries_) {
        // Whether any attribute could be read: a battery removed since discovery (its folder
        // gone with it) reads nothing at all, and is no battery rather than an empty one.
        bool readable = false;
        // A bay whose battery was taken out keeps its directory and reports present 0.
        if (battery->present) {
            std::optional<std::string_view> present = battery->present->read();
            if (present && parseAttributeInteger(*present) == 0) continue;
            readable |= present.has_value();
        }
        BatteryReading values;
        if (battery->status) {
            if (std::optional<std::string_view> status = battery->status->read()) {
                values.status = trimAttribute(*status);
                readable = true;
            }
        }
        for (size_t i = 0; i < kNumbers.size(); ++i) {
            if (!battery->numbers[i]) continue;
            if (std::optional<std::string_view> text = battery->numbers[i]->read()) {
                values.*kNumbers[i].field = parseAttributeInteger(*text);
                readable = true;
            }
        }
        if (readable) reading.batteries.push_back(std::move(values));
    }
    for (const auto& online : lineOnline_) {
        std::optional<std::string_view> text = online->read();
        // 1 is a fixed supply, 2 a programmable one (USB PD); both feed the machine.
        if (text && parseAttributeInteger(*text).value_or(0) > 0) reading.onLinePower = true;
    }
    return reading;
}

}  // namespace glintdeck
