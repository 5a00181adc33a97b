#include "views/graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace glintdeck {
namespace {

int countSlots(double width, double step) {
    double slots = width / step;
    if (!(step > 0) || !std::isfinite(slots) || slots < 1) return 1;
    // Far more slots than any history holds would never be filled; the cap keeps the cast safe.
    return static_cast<int>(std::min(std::floor(slots), 1e6));
}

// Appends the bars of the values that fit in the slots, newest in the last slot; a value not
// above 0 (or NaN) leaves its slot empty.
void addBars(const GraphSeries& series, int slots, double step, double barWidth, double room,
             bool hangsBelow, double baseline, std::vector<QRectF>& bars) {
    std::span<const double> values = series.values;
    size_t shown = std::min(values.size(), static_cast<size_t>(slots));
    values = values.last(shown);
    bars.reserve(shown);
    for (size_t i = 0; i < shown; ++i) {
        double fraction = values[i] / series.peak;
        if (!(fraction > 0)) continue;
        double height = fraction > 1 ? std::max(1.0, room) : std::max(1.0, room * fraction);
        double x = static_cast<double>(static_cast<size_t>(slots) - shown + i) * step;
        double top = hangsBelow ? baseline : baseline - height;
        bars.emplace_back(x, top, barWidth, height);
    }
}

}  // namespace

GraphGeometry graphGeometry(const GraphData& data, QSizeF size, double barWidth, double barGap) {
    GraphGeometry geometry;
    double step = barWidth + barGap;
    geometry.slotCount = countSlots(size.width(), step);
    bool hasLower = data.lower.has_value();
    geometry.baseline = hasLower ? size.height() / 2 : size.height();
    double room = geometry.baseline;
    addBars(data.upper, geometry.slotCount, step, barWidth, room, false, geometry.baseline,
            geometry.upper);
    if (hasLower) {
        addBars(*data.lower, geometry.slotCount, step, barWidth, room, true, geometry.baseline,
                geometry.lower);
    }
    return geometry;
}

}  // namespace glintdeck
