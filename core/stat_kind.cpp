#include "core/stat_kind.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array<std::string_view, kStatKindCount> kRawValues{
    "cpu", "memory", "disk",  "network",     "battery", "gpu",
    "fan", "power",  "temps", "loadAverage", "uptime",
};

}  // namespace

std::string_view rawValue(StatKind kind) { return kRawValues[kindIndex(kind)]; }

std::optional<StatKind> statKindFromRawValue(std::string_view raw) {
    for (StatKind kind : allStatKinds()) {
        if (rawValue(kind) == raw) return kind;
    }
    return std::nullopt;
}

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
