#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

#include "core/graph_data.h"

namespace glintdeck {

// The bars of an activity graph on a surface of `size`, coordinates growing down from the
// top-left corner. One slot per bar width plus gap; the newest value sits in the rightmost
// slot and values that do not fit fall off the left. The upper series rises from the baseline,
// the lower one hangs below it; a positive value is at least 1 point tall and a value above its
// peak is clipped to the full height.
struct GraphGeometry {
    double baseline = 0;  // y of the line; the bottom edge without a lower series
    int slotCount = 1;
    std::vector<QRectF> upper;  // oldest shown first
    std::vector<QRectF> lower;
};

[[nodiscard]] GraphGeometry graphGeometry(const GraphData& data, QSizeF size, double barWidth,
                                          double barGap);

}  // namespace glintdeck
