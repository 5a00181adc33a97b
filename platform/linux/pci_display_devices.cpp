#include "platform/linux/pci_display_devices.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/linux/directory_entries.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

constexpr uint32_t kDisplayControllerClass = 0x03;

template <typename Number>
std::optional<Number> parseHex(std::string_view text) {
    Number value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

PciUevent parsePciUevent(std::string_view text) {
    PciUevent uevent;
    while (!text.empty()) {
        size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view key = line.substr(0, equals);
        std::string_view value = line.substr(equals + 1);
        if (key == "DRIVER") {
            uevent.driver = value;
        } else if (key == "PCI_CLASS") {
            uevent.pciClass = parseHex<uint32_t>(value);
        } else if (key == "PCI_ID") {
            size_t colon = value.find(':');
            if (colon == std::string_view::npos) continue;
            auto vendor = parseHex<uint16_t>(value.substr(0, colon));
            auto device = parseHex<uint16_t>(value.substr(colon + 1));
            if (vendor && device) {
                uevent.vendor = *vendor;
                uevent.device = *device;
            }
        } else if (key == "PCI_SLOT_NAME") {
            uevent.slot = value;
        }
    }
    return uevent;
}

std::vector<PciDisplayDevice> findPciDisplayDevices(const std::string& root) {
    std::vector<PciDisplayDevice> devices;
    std::filesystem::path folder = std::filesystem::path(root) / "sys/bus/pci/devices";
    for (const auto& entry : DirectoryEntries(folder)) {
        std::optional<std::string> text = readAttribute((entry.path() / "uevent").string());
        if (!text) continue;
        PciUevent uevent = parsePciUevent(*text);
        if (!uevent.pciClass || (*uevent.pciClass >> 16) != kDisplayControllerClass) continue;
        devices.push_back(PciDisplayDevice{
            .directory = entry.path().string(),
            .slot = uevent.slot.empty() ? entry.path().filename().string() : uevent.slot,
            .driver = uevent.driver,
            .vendor = uevent.vendor,
            .device = uevent.device,
        });
    }
    // Slot names are fixed-width hex, so text order is bus order.
    std::sort(devices.begin(), devices.end(),
              [](const auto& a, const auto& b) { return a.slot < b.slot; });
    return devices;
}

}  // namespace glintdeck
