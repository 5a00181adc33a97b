#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"
#include "samplers/property_table.h"

namespace glintdeck {

class AcceleratorSource {
  public:
    virtual ~AcceleratorSource() = default;
    // Discovery that touches the platform; runs on the sampler's queue before the first read.
    virtual void prepare() {}
    // Runs on the sampler's queue after stop(), so it never races a read.
    virtual void release() {}
    // One property table per graphics accelerator, in the platform's order, each with
    // "PerformanceStatistics" (a table holding the integer "Device Utilization %" or
    // "GPU Activity(%)"), "model" (data: the model name bytes) and "IOClass" (text). Any of
    // the three may be missing. Empty when there is no accelerator.
    [[nodiscard]] virtual std::vector<PropertyTable> accelerators() = 0;
};

// The model name from its raw bytes: NULs and then spaces and tabs trimmed from both ends.
// Nothing when the bytes are not ASCII or nothing is left.
[[nodiscard]] std::optional<std::string> modelName(std::string_view bytes);

// Utilization and model name of the first accelerator that publishes a utilization. Every tick
// delivers: the empty sample when no accelerator qualifies.
class GPUSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const GPUSample&)>;

    GPUSampler(Executor& executor, double interval, std::unique_ptr<AcceleratorSource> source,
               OnSample onSample);

  private:
    void prepare() override;
    void release() override;
    void tick() override;

    std::unique_ptr<AcceleratorSource> source_;
    OnSample onSample_;
};

}  // namespace glintdeck
