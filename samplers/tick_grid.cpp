#include "samplers/tick_grid.h"

#include <algorithm>

namespace glintdeck {

std::chrono::steady_clock::time_point nextTickOnGrid(std::chrono::steady_clock::time_point anchor,
                                                     std::chrono::steady_clock::duration period,
                                                     std::chrono::steady_clock::time_point last,
                                                     std::chrono::steady_clock::time_point now) {
    using Duration = std::chrono::steady_clock::duration;
    if (period <= Duration::zero()) return std::max(last, now);
    // Three quarters, not a whole period: timers started a moment apart share a grid point.
    const auto earliest = std::max(last + period - period / 4, now + Duration(1));
    if (earliest <= anchor) return anchor;
    // Rounds up to the grid: the count of whole periods from the anchor, plus one for a part.
    const auto offset = earliest - anchor;
    auto periods = offset / period;
    if (offset % period != Duration::zero()) ++periods;
    return anchor + periods * period;
}

void TickGrid::timerStarted(std::chrono::steady_clock::time_point start, bool othersRunning) {
    if (!anchor_ || !othersRunning) anchor_ = start;
}

std::chrono::steady_clock::time_point TickGrid::next(
    std::chrono::steady_clock::duration period, std::chrono::steady_clock::time_point last,
    std::chrono::steady_clock::time_point now) const {
    return nextTickOnGrid(anchor_.value_or(last), period, last, now);
}

}  // namespace glintdeck
