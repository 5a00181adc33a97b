#include "samplers/tick_grid.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

TimePoint at(int ms) { return TimePoint(milliseconds(ms)); }

TEST(TickGridTest, TimersStartedApartTickTogetherAndNeverMuchSoonerThanAPeriod) {
    struct Row {
        int period, last, now, next;
        const char* why;
    };
    // The anchor is at 1000 ms.
    for (const Row& row : {
             Row{1000, 1000, 1000, 2000, "on the grid: every period"},
             Row{1000, 3000, 3001, 4000, "a tick that ran a moment late"},
             Row{1000, 1010, 1010, 2000, "started just after the anchor: ticks with it"},
             Row{1000, 1300, 1300, 3000, "started off the grid: the point 3/4 of a period on"},
             Row{1000, 1000, 3500, 4000, "far behind: not repeated to catch up"},
             Row{2000, 4700, 4700, 7000, "a period of twice the interval keeps the same grid"},
             Row{2000, 2600, 2600, 5000, "... and measures at least 3/4 of it"},
         }) {
        EXPECT_EQ(nextTickOnGrid(at(1000), milliseconds(row.period), at(row.last), at(row.now)),
                  at(row.next))
            << row.why;
    }
}

// A restart of every timer (a new interval) starts the grid afresh, so each sampler's second
// reading comes a whole period after its first; a timer joining running ones keeps their grid.
TEST(TickGridTest, StartsAfreshOnlyWhenNoOtherTimerRuns) {
    const auto second = milliseconds(1000);
    TickGrid grid;
    grid.timerStarted(at(1000), false);
    grid.timerStarted(at(1300), true);  // the process lists, when the strip shows
    EXPECT_EQ(grid.next(second, at(1300), at(1300)), at(3000));
    grid.timerStarted(at(5300), false);  // every sampler restarted
    EXPECT_EQ(grid.next(second, at(5300), at(5300)), at(6300));
}

}  // namespace
}  // namespace glintdeck
