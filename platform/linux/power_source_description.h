#pragma once

#include "platform/linux/drain_rate_average.h"
#include "platform/linux/power_supply_reader.h"
#include "samplers/battery_sampler.h"

namespace glintdeck {

// Turns the batteries of /sys/class/power_supply into one power-source description and one
// battery registry entry, as the battery sampler reads them.
//
// Several batteries are one source, as a laptop's two packs are to its owner: capacities are
// summed when every battery reports energy (or every one charge); otherwise the first battery
// alone describes the source, since µWh and µAh do not add. Where a driver gives no time
// estimate, time to empty or to full comes from the smoothed drain rate, as UPower computes
// it; the average restarts whenever the machine changes between charging, discharging and
// neither, because a charge rate says nothing about the coming drain.
class PowerSourceDescriber final {
  public:
    // Rates outside this range are gauge noise (a battery idling at full) or nonsense.
    static constexpr double kLowestRateWatts = 0.1;
    static constexpr double kHighestRateWatts = 300;

    // now: seconds on a clock that never goes back and counts time suspended.
    [[nodiscard]] PowerSourceReading describe(const PowerSupplyReading& supplies, double now);

  private:
    enum class Flow { charging, discharging, still };

    DrainRateAverage rate_;
    Flow lastFlow_ = Flow::still;
};

}  // namespace glintdeck
