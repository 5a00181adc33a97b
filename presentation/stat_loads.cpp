#include "presentation/stat_loads.h"

namespace glintdeck {
namespace {

// A load that is not a number stays one, so the band classification keeps the previous band.
double atMost100(double percent) { return percent > 100 ? 100 : percent; }

}  // namespace

double diskLoadPercent(uint64_t usedBytes, uint64_t totalBytes) {
    if (totalBytes == 0) return 0;
    return static_cast<double>(usedBytes) / static_cast<double>(totalBytes) * 100;
}

double networkLoadPercent(double downBytesPerSec, double upBytesPerSec) {
    return atMost100((downBytesPerSec + upBytesPerSec) / 12'500'000 * 100);
}

double thermalLoadPercent(ThermalState state) {
    switch (state) {
        case ThermalState::fair:
            return 40;
        case ThermalState::serious:
            return 75;
        case ThermalState::critical:
            return 100;
        default:
            return 0;
    }
}

double loadAveragePercent(double oneMinute, long processorCount) {
    double cores = processorCount < 2 ? 1.0 : static_cast<double>(processorCount);
    return atMost100(oneMinute / cores * 100);
}

}  // namespace glintdeck
