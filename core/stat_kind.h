#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// The eleven stats a tile can show. The raw value is the persisted form (preference lists and
// maps); the declaration order is the default tile order and the order of every loop over kinds,
// and a kind's place in it is its index wherever something is kept per kind.
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
    uptime,  // the last: kStatKindCount counts up to it
};

inline constexpr size_t kStatKindCount = static_cast<size_t>(StatKind::uptime) + 1;

// The kind's place in the declaration order, from 0 to kStatKindCount - 1.
[[nodiscard]] constexpr size_t kindIndex(StatKind kind) { return static_cast<size_t>(kind); }

// Every kind in declaration order.
inline constexpr std::array<StatKind, kStatKindCount> kAllStatKinds = [] {
    std::array<StatKind, kStatKindCount> kinds{};
    for (size_t index = 0; index < kinds.size(); ++index) {
        kinds[index] = static_cast<StatKind>(index);
    }
    return kinds;
}();
[[nodiscard]] constexpr std::span<const StatKind> allStatKinds() { return kAllStatKinds; }

[[nodiscard]] std::string_view rawValue(StatKind kind);

// Exact, case-sensitive match; any other text yields no kind.
[[nodiscard]] std::optional<StatKind> statKindFromRawValue(std::string_view raw);

// Whether the kind keeps a history, so its tile can draw a graph (cpu, memory, disk, network,
// gpu); the others only ever show their current value.
[[nodiscard]] bool hasHistory(StatKind kind);

// Load bands, calmest first.
enum class Band { calm, busy, hot };

}  // namespace glintdeck
