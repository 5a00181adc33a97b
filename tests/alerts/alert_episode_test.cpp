#include "alerts/alert_episode.h"

#include <gtest/gtest.h>

#include <vector>

#include "alerts/machine_watches.h"

namespace glintdeck {
namespace {

// Feeds a reading every `step` seconds from `from` to `to` (exclusive) and returns the times at
// which the episode said to tell the user.
std::vector<double> run(AlertEpisode& episode, double from, double to, bool holding,
                        bool stripShown = false, double step = 10) {
    std::vector<double> told;
    for (double now = from; now < to; now += step) {
        if (episode.update(holding, now, stripShown)) told.push_back(now);
    }
    return told;
}

TEST(AlertEpisodeTest, TellsOncePerEpisodeAndStaysQuietAfterwards) {
    AlertEpisode episode({.holdFor = 30, .clearFor = 60, .quietFor = 1800});
    // A spike shorter than the hold never tells.
    EXPECT_TRUE(run(episode, 0, 30, true).empty());
    EXPECT_TRUE(run(episode, 30, 40, false).empty());
    // A long run tells once, when it has held for 30 s.
    EXPECT_EQ(run(episode, 40, 400, true), std::vector<double>{70});
    // Clear for less than a minute: still the same episode.
    EXPECT_TRUE(run(episode, 400, 450, false).empty());
    EXPECT_TRUE(run(episode, 450, 600, true).empty());
    // A new episode within 30 minutes of the notification stays silent...
    EXPECT_TRUE(run(episode, 600, 700, false).empty());
    EXPECT_TRUE(run(episode, 700, 900, true).empty());
    // ...and one after them tells again.
    EXPECT_TRUE(run(episode, 900, 1000, false).empty());
    EXPECT_EQ(run(episode, 2000, 2100, true), std::vector<double>{2030});
}

TEST(AlertEpisodeTest, StripShownHoldsTheNotificationUntilItHides) {
    AlertEpisode episode({.holdFor = 30, .clearFor = 60, .quietFor = 1800});
    EXPECT_TRUE(run(episode, 0, 100, true, /*stripShown=*/true).empty());
    EXPECT_EQ(run(episode, 100, 200, true), std::vector<double>{100});

    // An episode that ends while the strip shows is never told.
    AlertEpisode seen({.holdFor = 30, .clearFor = 60, .quietFor = 1800});
    EXPECT_TRUE(run(seen, 0, 100, true, true).empty());
    EXPECT_TRUE(run(seen, 100, 200, false).empty());
    EXPECT_TRUE(run(seen, 200, 220, true).empty());
}

TEST(AlertEpisodeTest, AGapBetweenReadingsRestartsTheHold) {
    // Two readings an hour apart (a suspend) are not an hour of overheating.
    AlertEpisode episode({.holdFor = 30, .clearFor = 60, .quietFor = 1800});
    EXPECT_FALSE(episode.update(true, 0, false));
    EXPECT_FALSE(episode.update(true, 3600, false));
    EXPECT_TRUE(episode.update(true, 3630, false));
}

WatchSample busy(int32_t pid, double percent) {
    return {.memoryPressure = 2, .busiest = WatchedProcess{pid, 7, "yes", percent}};
}

TEST(MachineWatchesTest, RunawayIsOneProcessForFiveMinutes) {
    MachineWatches watches(4, ",");
    watches.setEnabled(AlertWatch::runawayProcess, true);
    EXPECT_FALSE(watches.wantsProcessScan(20)) << "below one core of four";
    EXPECT_TRUE(watches.wantsProcessScan(25));
    // Two processes taking turns on a core are no runaway.
    for (double now = 0; now <= 480; now += 10) {
        EXPECT_TRUE(
            watches.observeWatchSample(busy(now < 200 ? 1 : 2, 99), false, now, false).empty())
            << now;
    }
    EXPECT_EQ(watches.observeWatchSample(busy(2, 99.5), true, 500, false),
              (std::vector<Alert>{{AlertWatch::runawayProcess, StatKind::cpu,
                                   "yes is using a whole processor core",
                                   "99,5% of a core for 5 minutes, draining the battery"}}));
}

TEST(MachineWatchesTest, MemoryPressureNamesTheLargestProcessOnlyWhenEnabled) {
    MachineWatches watches(2, ".");
    WatchSample pressed{.memoryPressure = 22.4,
                        .largest = WatchedProcess{5, 1, "<b>firefox</b>", 3.5 * (1 << 30)}};
    for (double now = 0; now <= 60; now += 10) {
        EXPECT_TRUE(watches.observeWatchSample(pressed, false, now, false).empty());
    }
    EXPECT_FALSE(watches.wantsProcessScan(100)) << "no watch is on";
    watches.setEnabled(AlertWatch::memoryPressure, true);
    std::vector<Alert> alerts;
    for (double now = 100; alerts.empty() && now < 200; now += 10) {
        alerts = watches.observeWatchSample(pressed, false, now, false);
    }
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].card, StatKind::memory);
    EXPECT_EQ(alerts[0].body,
              "Programs waited for memory 22% of the last minute · most memory: <b>firefox</b> "
              "3.5 GB");
    EXPECT_TRUE(watches.wantsProcessScan(0)) << "the largest process is named while pressed";
}

}  // namespace
}  // namespace glintdeck
