#include "platform/linux/hwmon_smc_connection.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/linux/hwmon_chips.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

constexpr int32_t kNotSupported = static_cast<int32_t>(0xE00002C7);
constexpr int32_t kReadFailed = static_cast<int32_t>(0xE00002CA);
constexpr double kMicro = 1'000'000;

std::optional<double> readValue(HwmonSmcValue& value) {
    if (!value.file) return value.constant;
    return value.gate.read([&value]() -> std::optional<double> {
        std::optional<std::string_view> text = value.file->read();
        std::optional<int64_t> number = text ? parseAttributeInteger(*text) : std::nullopt;
        if (!number) return std::nullopt;
        return static_cast<double>(*number) / value.scale;
    });
}

HwmonSmcValue fileValue(const HwmonChip& chip, const std::string& path,
                        const std::shared_ptr<GpuReadSchedule>& gpus, double scale = 1) {
    HwmonSmcValue value{.file = std::make_unique<KernelFile>(path, kLargestAttribute),
                        .scale = scale};
    if (chip.isGpu) value.gate = {gpus, chip.deviceDirectory};
    return value;
}

bool containsWord(std::string text, std::string_view word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(word) != std::string::npos;
}

// The whole machine's power: the ACPI meter's average (or instant) reading, or on Apple
// silicon the SMC's own "Total System Power" sensor.
std::optional<std::string> systemPowerFile(const HwmonChip& chip) {
    if (chip.name == "power_meter") {
        for (const char* suffix : {"_average", "_input"}) {
            auto found = findHwmonAttributes(chip, "power", suffix);
            if (!found.empty()) return found.front().path;
        }
    }
    if (chip.name == "macsmc_hwmon") {
        for (const HwmonAttribute& power : findHwmonAttributes(chip, "power", "_input")) {
            auto label = readAttribute(siblingAttribute(power, "_label"));
            if (label && containsWord(*label, "system")) return power.path;
        }
    }
    return std::nullopt;
}

}  // namespace

// The values are moved out through a structured binding, which the check does not follow.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
HwmonSmcConnection::HwmonSmcConnection(std::map<std::string, HwmonSmcValue> keys,
                                       std::vector<HwmonFan> fans)
    : fans_(std::move(fans)) {
    for (auto& [key, value] : keys) keys_.emplace(fourCharCode(key), std::move(value));
}

HwmonSmcValue* HwmonSmcConnection::find(uint32_t key, bool refresh) {
    if (!fans_.empty()) {
        if (key == fourCharCode("FNum")) {
            if (refresh) {
                // In discovery order, so a fan that starts later does not reorder the rows.
                listed_.clear();
                for (size_t i = 0; i < fans_.size(); ++i) {
                    HwmonFan& fan = fans_[i];
                    fan.listed = fan.listed || readValue(fan.current).value_or(0) > 0;
                    if (fan.listed) listed_.push_back(i);
                }
            }
            fanCount_.constant = static_cast<double>(listed_.size());
            return &fanCount_;
        }
        // "F{i}Ac", "F{i}Mn", "F{i}Mx": the i-th listed fan.
        auto byte = [key](int shift) { return static_cast<char>((key >> shift) & 0xFF); };
        if (byte(24) == 'F' && byte(16) >= '0' && byte(16) <= '9') {
            auto index = static_cast<size_t>(byte(16) - '0');
            if (index >= listed_.size()) return nullptr;
            HwmonFan& fan = fans_[listed_[index]];
            std::string suffix{byte(8), byte(0)};
            if (suffix == "Ac") return &fan.current;
            if (suffix == "Mn") return fan.minimum ? &*fan.minimum : nullptr;
            if (suffix == "Mx") return fan.maximum ? &*fan.maximum : nullptr;
        }
    }
    auto found = keys_.find(key);
    return found == keys_.end() ? nullptr : &found->second;
}

int32_t HwmonSmcConnection::call(uint32_t selector, const SMCKeyRecord::Wire& input,
                                 SMCKeyRecord::Wire& output) {
    if (selector != kSelector) return kNotSupported;
    SMCKeyRecord request = SMCKeyRecord::decode(input);
    SMCKeyRecord reply;
    switch (request.command) {
        case SMCKeyRecord::kReadKeyInfo:
            if (find(request.key, false) != nullptr) {
                reply.dataSize = 4;
                reply.dataType = fourCharCode("flt ");
            }
            break;
        case SMCKeyRecord::kReadBytes: {
            HwmonSmcValue* found = find(request.key, true);
            if (found == nullptr) return kReadFailed;
            std::optional<double> value = readValue(*found);
            if (!value) return kReadFailed;
            auto raw = std::bit_cast<uint32_t>(static_cast<float>(*value));
            for (size_t i = 0; i < 4; ++i) reply.bytes[i] = static_cast<uint8_t>(raw >> (8 * i));
            break;
        }
        default:
            return kNotSupported;
    }
    output = reply.encode();
    return 0;
}

std::unique_ptr<SmcConnection> openHwmonSmcConnection(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus) {
    std::map<std::string, HwmonSmcValue> keys;
    std::vector<HwmonFan> fans;
    for (const HwmonChip& chip : listHwmonChips(root)) {
        for (const HwmonAttribute& input : findHwmonAttributes(chip, "fan", "_input")) {
            HwmonFan fan{.current = fileValue(chip, input.path, gpus),
                         .listed = !isSuperIOChip(chip.name)};
            for (auto [suffix, limit] :
                 {std::pair{"_min", &fan.minimum}, std::pair{"_max", &fan.maximum}}) {
                // Existence only: reading a sleeping card's file here would wake it. A check
                // that fails (a looping link, a folder that refuses us) is no file; the
                // throwing form of exists() would end the program.
                std::string path = siblingAttribute(input, suffix);
                std::error_code error;
                if (std::filesystem::exists(path, error)) *limit = fileValue(chip, path, gpus);
            }
            fans.push_back(std::move(fan));
        }
        if (!keys.contains("PSTR")) {
            if (std::optional<std::string> power = systemPowerFile(chip)) {
                keys.emplace("PSTR", fileValue(chip, *power, gpus, kMicro));
            }
        }
    }
    if (fans.empty() && keys.empty()) return nullptr;
    return std::make_unique<HwmonSmcConnection>(std::move(keys), std::move(fans));
}

}  // namespace glintdeck
