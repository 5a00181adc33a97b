#pragma once

#include <optional>
#include <string>
#include <vector>

namespace glintdeck {

// One series of a bar graph: a history turned into numbers, oldest first, in the series' own
// unit. A value of `peak` fills the full height available to the series.
struct GraphSeries {
    std::vector<double> values;
    std::string label;                         // "Read", "CPU"
    std::string marker;                        // "R", "↑"; may be empty
    double peak = 100;                         // always greater than 0
    std::optional<std::string> peakFormatted;  // present only for tracked peaks (byte rates)
    bool operator==(const GraphSeries&) const = default;
};

// Upper series above the baseline; the optional lower one mirrored below it.
struct GraphData {
    GraphSeries upper;
    std::optional<GraphSeries> lower;
    bool operator==(const GraphData&) const = default;
};

}  // namespace glintdeck
