#pragma once

#include <cstdint>

#include "core/samples.h"

namespace glintdeck {

// How busy a stat is, 0 to 100: the input of the band classification for the kinds whose load
// is not simply a percentage of the sample.

// The used share of the volume; 0 for a volume of size 0.
[[nodiscard]] double diskLoadPercent(uint64_t usedBytes, uint64_t totalBytes);

// Traffic in both directions against 100 Mbit/s (12 500 000 bytes per second), at most 100.
[[nodiscard]] double networkLoadPercent(double downBytesPerSec, double upBytesPerSec);

// How close the machine is to throttling: nominal 0, fair 40, serious 75, critical 100; a raw
// value outside 0-3 counts as nominal.
[[nodiscard]] double thermalLoadPercent(ThermalState state);

// The one-minute load against the active processors, at most 100. The caller passes the
// processor count the system reports; a count below 2 counts as 1.
[[nodiscard]] double loadAveragePercent(double oneMinute, long processorCount);

}  // namespace glintdeck
