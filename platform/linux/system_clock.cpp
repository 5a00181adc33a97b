#include "platform/linux/system_clock.h"

#include <time.h>

#include <cmath>

namespace glintdeck {
namespace {

double secondsOf(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

double SystemClock::wallSeconds() const { return secondsOf(CLOCK_REALTIME); }

double SystemClock::secondsSinceBoot() const { return secondsOf(CLOCK_BOOTTIME); }

ClockBootTimeSource::ClockBootTimeSource(std::shared_ptr<const Clock> clock)
    : clock_(std::move(clock)) {}

std::optional<BootTime> ClockBootTimeSource::bootTime() {
    double boot = clock_->wallSeconds() - clock_->secondsSinceBoot();
    if (!std::isfinite(boot)) return std::nullopt;
    double whole = std::floor(boot);
    return BootTime{.seconds = static_cast<int64_t>(whole),
                    .microseconds = static_cast<int64_t>(std::lround((boot - whole) * 1e6))};
}

}  // namespace glintdeck
