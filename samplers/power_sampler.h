#pragma once

#include <functional>
#include <memory>

#include "core/samples.h"
#include "samplers/ioreport_power.h"
#include "samplers/periodic_sampler.h"
#include "samplers/smc.h"

namespace glintdeck {

// Power per domain from the energy reader, the whole-system ("PSTR") and DC-input ("PDTR")
// figures where the controller has them, and a load percent relative to the highest total
// seen since start. Every tick delivers; the first after start has no interval yet and
// delivers zeros.
class PowerSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const PowerSample&)>;
    using ReaderFactory = std::function<std::unique_ptr<IOReportPower>()>;

    PowerSampler(Executor& executor, double interval, ReaderFactory makeReader, SmcOpener openSmc,
                 OnSample onSample);

  private:
    void prepare() override;
    void tick() override;
    void release() override;

    ReaderFactory makeReader_;
    SmcOpener openSmc_;
    OnSample onSample_;
    std::unique_ptr<IOReportPower> reader_;
    std::unique_ptr<SMC> smc_;
    bool hasSystemKey_ = false;
    bool hasDCInKey_ = false;
    double peakTotal_ = 0;
};

}  // namespace glintdeck
