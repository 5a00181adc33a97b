#include "presentation/band.h"

#include <cmath>

namespace glintdeck {
namespace {

struct Thresholds {
    double busyFrom;
    double hotFrom;
};

Thresholds thresholdsAfter(std::optional<Band> previous) {
    if (!previous) return {50, 80};
    switch (*previous) {
        case Band::calm:
            return {55, 85};
        case Band::busy:
            return {45, 85};
        case Band::hot:
            return {45, 75};
    }
    return {50, 80};
}

}  // namespace

Band classifyBand(StatKind kind, double loadPercent, std::optional<Band> previous) {
    double load = kind == StatKind::battery ? 100 - loadPercent : loadPercent;
    if (std::isnan(load)) return previous.value_or(Band::calm);
    Thresholds thresholds = thresholdsAfter(previous);
    if (load >= thresholds.hotFrom) return Band::hot;
    if (load >= thresholds.busyFrom) return Band::busy;
    return Band::calm;
}

}  // namespace glintdeck
