#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/clock.h"
#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

struct BootTime {
    int64_t seconds = 0;  // since 1970
    int64_t microseconds = 0;
};

class BootTimeSource {
  public:
    virtual ~BootTimeSource() = default;
    [[nodiscard]] virtual std::optional<BootTime> bootTime() = 0;
};

// Delivers every tick: wall-clock time since boot, 0 when the boot time is unknown or lies in
// the future.
class UptimeSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const UptimeSample&)>;

    UptimeSampler(Executor& executor, double interval, std::unique_ptr<BootTimeSource> source,
                  std::shared_ptr<const Clock> clock, OnSample onSample);

  private:
    void tick() override;

    std::unique_ptr<BootTimeSource> source_;
    std::shared_ptr<const Clock> clock_;
    OnSample onSample_;
};

}  // namespace glintdeck
