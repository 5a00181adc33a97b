#include "presentation/stat_kind_text.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array<std::string_view, kStatKindCount> kTitles{
    "CPU",  "Memory", "Disk",        "Network",  "Battery", "GPU",
    "Fans", "Power",  "Temperature", "Load Avg", "Uptime",
};

constexpr std::array<std::string_view, kStatKindCount> kSymbols{
    "cpu",       "memorychip", "internaldrive", "network",     "battery.100", "cpu.fill",
    "fanblades", "bolt.fill",  "thermometer",   "speedometer", "clock",
};

}  // namespace

std::string_view title(StatKind kind) { return kTitles.at(kindIndex(kind)); }

std::string_view symbolName(StatKind kind) { return kSymbols.at(kindIndex(kind)); }

std::string_view batterySymbol(const BatterySample& battery) {
    if (battery.isCharging) return "battery.100percent.bolt";
    if (battery.percent < 13) return "battery.0percent";
    if (battery.percent < 38) return "battery.25percent";
    if (battery.percent < 63) return "battery.50percent";
    if (battery.percent < 88) return "battery.75percent";
    return "battery.100percent";
}

std::string_view thermalStateName(ThermalState state) {
    switch (state) {
        case ThermalState::fair:
            return "Fair";
        case ThermalState::serious:
            return "Serious";
        case ThermalState::critical:
            return "Critical";
        default:
            return "Nominal";
    }
}

}  // namespace glintdeck
