#pragma once

#include <memory>
#include <string>

#include "core/clock.h"
#include "core/sampler_factory.h"
#include "platform/linux/gpu_read_schedule.h"
#include "samplers/executor.h"
#include "samplers/watch_sampler.h"

namespace glintdeck {

// The real samplers over /proc and /sys under a root path ("/" in the product, a fixture tree
// in tests).
class LinuxSamplerFactory final : public SamplerFactory {
  public:
    LinuxSamplerFactory(Executor& executor, std::shared_ptr<const Clock> clock,
                        std::string root = "/");

    std::shared_ptr<Sampler> makeCPUSampler(double, OnSample<CPUSample>) override;
    std::shared_ptr<Sampler> makeMemorySampler(double, OnSample<MemorySample>) override;
    std::shared_ptr<Sampler> makeDiskSampler(double, OnSample<DiskSample>) override;
    std::shared_ptr<Sampler> makeNetworkSampler(double, OnSample<NetworkSample>) override;
    std::shared_ptr<Sampler> makeBatterySampler(double, OnSample<BatterySample>) override;
    std::shared_ptr<Sampler> makeGPUSampler(double, OnSample<GPUSample>) override;
    std::shared_ptr<Sampler> makeFanSampler(double, OnSample<FanSample>) override;
    std::shared_ptr<Sampler> makePowerSampler(double, OnSample<PowerSample>) override;
    std::shared_ptr<Sampler> makeTemperatureSampler(double, OnSample<TemperatureSample>) override;
    std::shared_ptr<Sampler> makeLoadAverageSampler(double, OnSample<LoadSample>) override;
    std::shared_ptr<Sampler> makeUptimeSampler(double, OnSample<UptimeSample>) override;
    std::shared_ptr<Sampler> makeTopProcessSampler(double, OnSample<TopProcessesSample>) override;
    // The alerts' own sampler, which the store does not own.
    [[nodiscard]] std::shared_ptr<WatchSampler> makeWatchSampler(double interval,
                                                                 WatchSampler::OnSample onSample);

  private:
    Executor& executor_;
    std::shared_ptr<const Clock> clock_;
    std::string root_;
    // One for every sampler that reads GPUs, so that together they let an idle card sleep.
    std::shared_ptr<GpuReadSchedule> gpus_;
};

}  // namespace glintdeck
