#pragma once

#include <optional>

namespace glintdeck {

// An exponential moving average of a battery's charge or drain rate, weighted by the time
// between readings, so a reading that lags after a stalled tick or a suspend counts for as
// long as it stood. Battery gauges report a rate that jumps with every burst of work; a time
// estimate from the raw rate would swing by hours from one tick to the next.
class DrainRateAverage final {
  public:
    explicit DrainRateAverage(double timeConstantSeconds = 60)
        : timeConstant_(timeConstantSeconds) {}

    // Adds a rate (watts) read at now (seconds on a clock that never goes back).
    void add(double watts, double now);
    void reset();

    // Nothing until the first rate is added.
    [[nodiscard]] std::optional<double> watts() const { return average_; }

  private:
    double timeConstant_;
    std::optional<double> average_;
    double lastTime_ = 0;
};

}  // namespace glintdeck
