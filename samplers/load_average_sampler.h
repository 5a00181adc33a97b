#pragma once

#include <array>
#include <functional>
#include <memory>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

class LoadAverageSource {
  public:
    virtual ~LoadAverageSource() = default;
    // Fills the 1, 5 and 15 minute load averages; returns how many were filled, or -1.
    [[nodiscard]] virtual int loadAverages(std::array<double, 3>& values) = 0;
};

// Delivers every tick: the three load averages, or zeros when they cannot be read.
class LoadAverageSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const LoadSample&)>;

    LoadAverageSampler(Executor& executor, double interval,
                       std::unique_ptr<LoadAverageSource> source, OnSample onSample);

  private:
    void tick() override;

    std::unique_ptr<LoadAverageSource> source_;
    OnSample onSample_;
};

}  // namespace glintdeck
