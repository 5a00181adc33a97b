#pragma once

#include <functional>
#include <memory>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"
#include "samplers/smc.h"

namespace glintdeck {

// Fan count and each fan's current, minimum and maximum speed, read from the controller's
// "FNum" and "F{i}Ac/Mn/Mx" keys. A fan without a current speed is left out; missing limits
// read 0. Every tick delivers; a machine without fans gets the empty sample.
class FanSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const FanSample&)>;

    // Keys carry one decimal digit of fan index, so at most fans 0 to 9 are read.
    static constexpr int kMaxFans = 10;

    FanSampler(Executor& executor, double interval, SmcOpener openSmc, OnSample onSample);

  private:
    void prepare() override;
    void tick() override;
    void release() override;

    SmcOpener openSmc_;
    OnSample onSample_;
    std::unique_ptr<SMC> smc_;
};

}  // namespace glintdeck
