#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "alerts/alert_episode.h"
#include "core/samples.h"
#include "core/stat_kind.h"
#include "settings/alert_watch.h"

namespace glintdeck {

// What a notification says, and the card its "Show" opens.
struct Alert {
    AlertWatch watch = AlertWatch::overheating;
    StatKind card = StatKind::cpu;
    std::string title;
    std::string body;  // one line of figures
    bool operator==(const Alert&) const = default;
};

// The three watches and their episodes:
// - overheating: thermal state Serious or Critical (the processor throttles) for 30 s;
// - a runaway process: one process (the same one throughout) busy on a whole core for 5 minutes;
// - memory pressure: the share of the last minute in which some task waited for memory above
//   kMemoryPressureThreshold for 30 s.
// A watch switched off forgets its episode. Main thread only.
class MachineWatches final {
  public:
    // The kernel's documentation of pressure stall information gives "some 150000 1000000",
    // tasks stalled on memory for 150 ms of every second, as its example of the memory pressure
    // worth waking a monitor for; held as a minute's average, that is pressure the user feels
    // (swapping, stutters), not a page-cache refill.
    static constexpr double kMemoryPressureThreshold = 15;
    // Of one processor: a busy loop reads a little under 100 % once interrupts and the scan's
    // own timing take their share.
    static constexpr double kWholeCorePercent = 90;

    // timeScale < 1 shortens every time, the watches' cadence included, for the end-to-end test.
    MachineWatches(int processorCount, std::string decimalSeparator, double timeScale = 1);

    void setEnabled(AlertWatch watch, bool enabled);
    [[nodiscard]] bool enabled(AlertWatch watch) const { return enabled_[watchIndex(watch)]; }

    // The latest temperature sample; its CPU reading, when there is one, goes in the body.
    [[nodiscard]] std::optional<Alert> observeThermal(const TemperatureSample& sample, double now,
                                                      bool stripShown);
    // A reading of the watch sampler.
    [[nodiscard]] std::vector<Alert> observeWatchSample(const WatchSample& sample, bool onBattery,
                                                        double now, bool stripShown);

    // Whether the process table is worth scanning: only a machine at least one core busy can
    // have a runaway process, and the largest process is named only under memory pressure.
    [[nodiscard]] bool wantsProcessScan(double cpuTotalPercent) const;

    // Seconds between the watch sampler's readings (10, scaled).
    [[nodiscard]] double watchInterval() const { return 10 * timeScale_; }

  private:
    [[nodiscard]] EpisodeTimes scaled(double holdFor) const;
    void resetEpisode(AlertWatch watch);

    int processorCount_;
    std::string decimalSeparator_;
    double timeScale_;
    std::array<bool, kAllAlertWatches.size()> enabled_{};
    std::array<std::optional<AlertEpisode>, kAllAlertWatches.size()> episodes_;
    std::optional<WatchedProcess> runaway_;  // the process the runaway watch follows
    bool pressureHigh_ = false;
};

}  // namespace glintdeck
