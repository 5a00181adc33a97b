#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

// Cumulative CPU ticks since boot, summed over all processors. 32 bits each: deltas are taken
// modulo 2^32, so a counter that wraps still yields its true small delta.
struct CPUTicks {
    uint32_t user = 0;
    uint32_t system = 0;
    uint32_t idle = 0;
    uint32_t nice = 0;
    bool operator==(const CPUTicks&) const = default;
};

class CPULoadSource {
  public:
    virtual ~CPULoadSource() = default;
    [[nodiscard]] virtual std::optional<CPUTicks> read() = 0;
};

// Usage over each period from two readings of the tick counters. The first tick only records
// the counters; a tick whose counters did not move delivers nothing.
class CPUSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const CPUSample&)>;

    CPUSampler(Executor& executor, double interval, std::unique_ptr<CPULoadSource> source,
               OnSample onSample);

  private:
    void tick() override;

    std::unique_ptr<CPULoadSource> source_;
    OnSample onSample_;
    std::optional<CPUTicks> previous_;
};

}  // namespace glintdeck
