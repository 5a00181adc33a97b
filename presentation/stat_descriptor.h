#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/graph_data.h"
#include "core/stat_kind.h"

namespace glintdeck {

// Which theme colour tints a tile's icon. Views resolve it against the theme when they paint,
// so adaptive (dark/light) colours follow the desktop without rebuilding descriptors.
enum class Tint { primaryText, calm, busy, hot };

// Everything the screen shows about one stat at one moment, built fresh from the store's latest
// samples on every read. The tile reserves the width of the widest texts so it never resizes.
struct StatDescriptor {
    using Row = std::pair<std::string, std::string>;  // label, value

    struct ProcessSection {
        std::string title;
        std::vector<Row> rows;  // process name, value text; at most 10, largest first
        int reservedRows = 10;  // the detail card keeps room for this many
        bool operator==(const ProcessSection&) const = default;
    };

    StatKind kind = StatKind::cpu;
    std::string symbol;  // icon name, mapped to a glyph by the views
    std::string value;
    std::string widestValue;
    std::optional<std::string> secondaryValue;  // two-value kinds showing both values
    std::optional<std::string> widestSecondaryValue;
    double loadPercent = 0;
    std::vector<Row> detail;
    std::optional<ProcessSection> processSection;  // cpu and memory, when not empty
    std::optional<GraphData> graph;                // the five kinds with a history
    Band band = Band::calm;
    Tint tint = Tint::primaryText;

    bool operator==(const StatDescriptor&) const = default;
};

// The kinds whose descriptors carry a process section once the top processes have been sampled
// (cpu and memory), so that a card can keep room for it before the first list arrives.
[[nodiscard]] inline bool listsTopProcesses(StatKind kind) {
    return kind == StatKind::cpu || kind == StatKind::memory;
}

}  // namespace glintdeck
