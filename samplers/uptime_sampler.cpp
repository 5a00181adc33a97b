#include "samplers/uptime_sampler.h"

#include <algorithm>

namespace glintdeck {

UptimeSampler::UptimeSampler(Executor& executor, double interval,
                             std::unique_ptr<BootTimeSource> source,
                             std::shared_ptr<const Clock> clock, OnSample onSample)
    : PeriodicSampler(executor, "UptimeSampler", interval, interval),
      source_(std::move(source)),
      clock_(std::move(clock)),
      onSample_(std::move(onSample)) {}

void UptimeSampler::tick() {
    std::optional<BootTime> boot = source_->bootTime();
    if (!boot) {
        onSample_(UptimeSample::empty());
        return;
    }
    double bootSeconds =
        static_cast<double>(boot->seconds) + static_cast<double>(boot->microseconds) / 1'000'000;
    onSample_(UptimeSample{.seconds = std::max(0.0, clock_->wallSeconds() - bootSeconds)});
}

}  // namespace glintdeck
