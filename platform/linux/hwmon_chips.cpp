#include "platform/linux/hwmon_chips.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>

#include "platform/linux/directory_entries.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

std::string resolved(const fs::path& path) {
    std::error_code error;
    fs::path canonical = fs::canonical(path, error);
    return error ? path.string() : canonical.string();
}

std::optional<int> indexBetween(std::string_view name, std::string_view prefix,
                                std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return std::nullopt;
    }
    std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    int index = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc{} || end != digits.data() + digits.size() || index < 0) {
        return std::nullopt;
    }
    return index;
}

}  // namespace

std::vector<HwmonChip> listHwmonChips(const std::string& root) {
    std::error_code error;
    std::vector<std::pair<std::string, fs::path>> found;  // (resolved path, class entry)
    for (const auto& entry : DirectoryEntries(root + "/sys/class/hwmon")) {
        found.emplace_back(resolved(entry.path()), entry.path());
    }
    std::sort(found.begin(), found.end());

    std::vector<HwmonChip> chips;
    std::set<std::string> searchedDevices;
    for (const auto& [resolvedPath, entry] : found) {
        HwmonChip chip;
        chip.directory = entry.string();
        chip.attributeDirectories.push_back(chip.directory);
        fs::path device = entry / "device";
        if (fs::is_directory(device, error)) {
            chip.deviceDirectory = device.string();
            if (searchedDevices.insert(resolved(device)).second) {
                chip.attributeDirectories.push_back(chip.deviceDirectory);
            }
            // PCI class 0x03xxxx: display controllers (VGA, 3D, other).
            std::optional<std::string> pciClass = readAttribute(chip.deviceDirectory + "/class");
            chip.isGpu = pciClass && pciClass->starts_with("0x03");
        }
        std::optional<std::string> name = readAttribute(chip.directory + "/name");
        if (!name && !chip.deviceDirectory.empty()) {
            name = readAttribute(chip.deviceDirectory + "/name");
        }
        chip.name = name.value_or("");
        chips.push_back(std::move(chip));
    }
    return chips;
}

std::vector<HwmonAttribute> findHwmonAttributes(const HwmonChip& chip, std::string_view prefix,
                                                std::string_view suffix) {
    std::map<int, std::string> byIndex;
    for (const std::string& directory : chip.attributeDirectories) {
        for (const auto& entry : DirectoryEntries(directory)) {
            std::string name = entry.path().filename().string();
            if (auto index = indexBetween(name, prefix, suffix)) {
                byIndex.emplace(*index, entry.path().string());  // the first folder wins
            }
        }
    }
    std::vector<HwmonAttribute> attributes;
    attributes.reserve(byIndex.size());
    for (auto& [index, path] : byIndex) attributes.push_back({index, std::move(path)});
    return attributes;
}

bool isSuperIOChip(std::string_view chip) {
    return chip.starts_with("nct6") || chip.starts_with("it8") || chip.starts_with("w83") ||
           chip.starts_with("f71");
}

std::string siblingAttribute(const HwmonAttribute& attribute, std::string_view suffix) {
    size_t underscore = attribute.path.rfind('_');
    size_t slash = attribute.path.rfind('/');
    if (underscore == std::string::npos || (slash != std::string::npos && underscore < slash)) {
        return attribute.path + std::string(suffix);
    }
    return attribute.path.substr(0, underscore) + std::string(suffix);
}

}  // namespace glintdeck
