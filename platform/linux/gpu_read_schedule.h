#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/clock.h"
#include "platform/linux/kernel_file.h"

namespace glintdeck {

// When a PCI GPU's files and driver may be read, shared by every reader of the card (the GPU,
// temperature, fan and power samplers, each on its own queue). A read of a runtime-suspended
// card wakes it, and each read of an awake one restarts its driver's autosuspend timer: read
// every second by four samplers, an idle laptop GPU never sleeps and costs its owner hours of
// battery. So:
// - nothing is read while the card is not awake (device_power.h);
// - a card that may not sleep (power/control "on"), or that is busy, is read at every tick;
// - an idle card that may sleep is read in short rounds, one per autosuspend delay plus a
//   margin, in which every reader takes its turn; in between the readers hold their last
//   reading, and the card's timer can run out.
// A card is busy when its last reading said so: amdgpu's gpu_busy_percent, read at the start of
// each round, or what a reader reports (NVML's utilization).
class GpuReadSchedule final {
  public:
    enum class Turn { asleep, hold, read };

    // Reads that follow a round's first one within this time belong to that round: the
    // samplers tick at the same interval but not at the same instant.
    static constexpr double kRoundSeconds = 1;

    explicit GpuReadSchedule(std::shared_ptr<const Clock> clock);

    // Whether the card at deviceDirectory (a PCI device's sysfs folder) may be read now.
    [[nodiscard]] Turn turn(const std::string& deviceDirectory);

    // A reader's news of the card's load, for the next turn.
    void reportBusy(const std::string& deviceDirectory, bool busy);

    // Whether the card stays awake whatever we do (it may not sleep, or it is busy): only then
    // is a driver session worth keeping open between reads.
    [[nodiscard]] bool staysAwake(const std::string& deviceDirectory);

    [[nodiscard]] const std::shared_ptr<const Clock>& clock() const { return clock_; }

  private:
    struct Card {
        // Power-management tools switch it between "auto" and "on" as the machine goes on
        // and off AC, so it is read at every turn.
        std::unique_ptr<KernelFile> control;
        bool maySleep = false;
        double gapSeconds = 0;
        std::optional<double> roundStart;
        bool busy = false;
        std::unique_ptr<KernelFile> busyPercent;  // amdgpu's, where the card has one
    };

    Card& card(const std::string& deviceDirectory);  // under mutex_

    std::shared_ptr<const Clock> clock_;
    std::mutex mutex_;
    std::map<std::string, Card> cards_;
};

}  // namespace glintdeck
