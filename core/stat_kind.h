#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// The eleven stats a tile can show. The raw value is the persisted form (preference lists and
// maps); the declaration order is the default tile order and the order of every loop over kinds.
enum class StatKind {
    cpu,
    memory,
    disk,
    network,
    battery,
    gpu,
    fan,
    power,
    temps,
    loadAverage,
    uptime,
};

[[nodiscard]] std::string_view rawValue(StatKind kind);

// Exact, case-sensitive match; any other text yields no kind.
[[nodiscard]] std::optional<StatKind> statKindFromRawValue(std::string_view raw);

// Every kind in declaration order.
[[nodiscard]] std::span<const StatKind> allStatKinds();

// Whether the kind keeps a history, so its tile can draw a graph (cpu, memory, disk, network,
// gpu); the others only ever show their current value.
[[nodiscard]] bool hasHistory(StatKind kind);

// Load bands, calmest first.
enum class Band { calm, busy, hot };

}  // namespace glintdeck
