#include "core/stat_kind.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array kAllKinds{
    StatKind::cpu,     StatKind::memory,      StatKind::disk,   StatKind::network,
    StatKind::battery, StatKind::gpu,         StatKind::fan,    StatKind::power,
    StatKind::temps,   StatKind::loadAverage, StatKind::uptime,
};

constexpr std::array<std::string_view, kAllKinds.size()> kRawValues{
    "cpu", "memory", "disk",  "network",     "battery", "gpu",
    "fan", "power",  "temps", "loadAverage", "uptime",
};

}  // namespace

std::string_view rawValue(StatKind kind) { return kRawValues[static_cast<size_t>(kind)]; }

std::optional<StatKind> statKindFromRawValue(std::string_view raw) {
    for (StatKind kind : kAllKinds) {
        if (rawValue(kind) == raw) return kind;
    }
    return std::nullopt;
}

std::span<const StatKind> allStatKinds() { return kAllKinds; }

bool hasHistory(StatKind kind) {
    switch (kind) {
        case StatKind::cpu:
        case StatKind::memory:
        case StatKind::disk:
        case StatKind::network:
        case StatKind::gpu:
            return true;
        default:
            return false;
    }
}

}  // namespace glintdeck
