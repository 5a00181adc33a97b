#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/kernel_file.h"

namespace glintdeck {

// An Intel GPU's busy share without privileges: the time its render engine spent out of its
// RC6 idle state, from the world-readable residency counter (milliseconds idle since boot):
// i915's drm/cardN/gt/gt0/rc6_residency_ms (power/rc6_residency_ms on older kernels), xe's
// tile0/gt0/gtidle/idle_residency_ms. Busy = 100 % - the idle share of the time between two
// readings. Reading the counter resumes a suspended card, so callers read only on the card's
// turn (gpu_read_schedule.h).
//
// A counter that never advances (RC6 disabled, some virtual GPUs) would read 100 % busy
// forever, so there is no figure until the counter has been seen to move.
class IntelGpuIdle final {
  public:
    // The counter of the PCI GPU at deviceDirectory; null when it has none.
    [[nodiscard]] static std::unique_ptr<IntelGpuIdle> find(const std::string& deviceDirectory);

    explicit IntelGpuIdle(std::string residencyPath);

    // Percent busy since the previous reading, 0 to 100; nothing on the first reading, after
    // restart(), while the counter has never moved, or when it cannot be read.
    [[nodiscard]] std::optional<int64_t> busyPercent(double now);

    // Whether a reading has been taken since the start or the last restart().
    [[nodiscard]] bool hasBaseline() const { return previous_.has_value(); }

    // Forgets the previous reading: the card slept, and its counter says nothing of that time.
    // A counter once seen to move is still known to work.
    void restart() { previous_.reset(); }

  private:
    struct Reading {
        int64_t idleMilliseconds = 0;
        double at = 0;
    };
    KernelFile file_;
    std::optional<Reading> previous_;
    bool counterMoved_ = false;
};

// The busy percent for idle milliseconds over an elapsed time, clamped to 0-100 (the counter
// and the clock are read a moment apart).
[[nodiscard]] int64_t busyFromIdle(int64_t idleMilliseconds, double elapsedSeconds);

}  // namespace glintdeck
