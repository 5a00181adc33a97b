#pragma once

#include <chrono>
#include <optional>

namespace glintdeck {

// Where a repeating timer ticks next. Every repeating timer of an executor ticks on one grid,
// anchor + k·period, so timers of equal periods (or of multiples of one another) that started
// at different moments (the process lists start when the strip shows, everything restarts when
// the interval changes) still fall due together and cost the process one wakeup, not one each.
// The next tick is the first grid point at least three quarters of a period after the last one
// (so no reading covers much less than a period, and timers started a moment after the anchor
// tick with it) and after now (a late tick is not repeated to catch up).
[[nodiscard]] std::chrono::steady_clock::time_point nextTickOnGrid(
    std::chrono::steady_clock::time_point anchor, std::chrono::steady_clock::duration period,
    std::chrono::steady_clock::time_point last, std::chrono::steady_clock::time_point now);

// The grid an executor's repeating timers share. It starts at the first timer's start, and
// afresh whenever a timer starts while no other runs: a restart of every sampler for a new
// interval then gets a grid of its own, so each sampler's second reading comes a whole period
// after its first, as the rates that divide by the interval assume.
class TickGrid {
  public:
    void timerStarted(std::chrono::steady_clock::time_point start, bool othersRunning);
    // nextTickOnGrid() on this grid; a timer has always started before it asks.
    [[nodiscard]] std::chrono::steady_clock::time_point next(
        std::chrono::steady_clock::duration period, std::chrono::steady_clock::time_point last,
        std::chrono::steady_clock::time_point now) const;

  private:
    std::optional<std::chrono::steady_clock::time_point> anchor_;
};

}  // namespace glintdeck
