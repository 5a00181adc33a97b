#pragma once

#include <memory>
#include <optional>

#include "core/clock.h"
#include "samplers/uptime_sampler.h"

namespace glintdeck {

// CLOCK_REALTIME and CLOCK_BOOTTIME (which, unlike CLOCK_MONOTONIC, keeps counting while the
// machine is suspended).
class SystemClock final : public Clock {
  public:
    [[nodiscard]] double wallSeconds() const override;
    [[nodiscard]] double secondsSinceBoot() const override;
};

// The boot time as wall clock minus time since boot, which is what the kernel's own btime is,
// at microsecond rather than second precision.
class ClockBootTimeSource final : public BootTimeSource {
  public:
    explicit ClockBootTimeSource(std::shared_ptr<const Clock> clock);
    [[nodiscard]] std::optional<BootTime> bootTime() override;

  private:
    std::shared_ptr<const Clock> clock_;
};

}  // namespace glintdeck
