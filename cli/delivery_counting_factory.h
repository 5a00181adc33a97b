#pragma once

#include <array>
#include <atomic>

#include "core/sampler_factory.h"

namespace glintdeck {

// Wraps a factory and counts each sampler's deliveries, so a one-shot run can stop as soon as
// every sampler that exists has reported often enough instead of waiting a fixed time.
class DeliveryCountingFactory final : public SamplerFactory {
  public:
    explicit DeliveryCountingFactory(SamplerFactory& inner) : inner_(inner) {}

    // True when every sampler created so far has delivered at least `times` samples.
    [[nodiscard]] bool everySamplerDelivered(int times) const;

    std::shared_ptr<Sampler> makeCPUSampler(double i, OnSample<CPUSample> on) override {
        return counted(kindIndex(StatKind::cpu), i, std::move(on), &SamplerFactory::makeCPUSampler);
    }
    std::shared_ptr<Sampler> makeMemorySampler(double i, OnSample<MemorySample> on) override {
        return counted(kindIndex(StatKind::memory), i, std::move(on),
                       &SamplerFactory::makeMemorySampler);
    }
    std::shared_ptr<Sampler> makeDiskSampler(double i, OnSample<DiskSample> on) override {
        return counted(kindIndex(StatKind::disk), i, std::move(on),
                       &SamplerFactory::makeDiskSampler);
    }
    std::shared_ptr<Sampler> makeNetworkSampler(double i, OnSample<NetworkSample> on) override {
        return counted(kindIndex(StatKind::network), i, std::move(on),
                       &SamplerFactory::makeNetworkSampler);
    }
    std::shared_ptr<Sampler> makeBatterySampler(double i, OnSample<BatterySample> on) override {
        return counted(kindIndex(StatKind::battery), i, std::move(on),
                       &SamplerFactory::makeBatterySampler);
    }
    std::shared_ptr<Sampler> makeGPUSampler(double i, OnSample<GPUSample> on) override {
        return counted(kindIndex(StatKind::gpu), i, std::move(on), &SamplerFactory::makeGPUSampler);
    }
    std::shared_ptr<Sampler> makeFanSampler(double i, OnSample<FanSample> on) override {
        return counted(kindIndex(StatKind::fan), i, std::move(on), &SamplerFactory::makeFanSampler);
    }
    std::shared_ptr<Sampler> makePowerSampler(double i, OnSample<PowerSample> on) override {
        return counted(kindIndex(StatKind::power), i, std::move(on),
                       &SamplerFactory::makePowerSampler);
    }
    std::shared_ptr<Sampler> makeTemperatureSampler(double i,
                                                    OnSample<TemperatureSample> on) override {
        return counted(kindIndex(StatKind::temps), i, std::move(on),
                       &SamplerFactory::makeTemperatureSampler);
    }
    std::shared_ptr<Sampler> makeLoadAverageSampler(double i, OnSample<LoadSample> on) override {
        return counted(kindIndex(StatKind::loadAverage), i, std::move(on),
                       &SamplerFactory::makeLoadAverageSampler);
    }
    std::shared_ptr<Sampler> makeUptimeSampler(double i, OnSample<UptimeSample> on) override {
        return counted(kindIndex(StatKind::uptime), i, std::move(on),
                       &SamplerFactory::makeUptimeSampler);
    }
    std::shared_ptr<Sampler> makeTopProcessSampler(double i,
                                                   OnSample<TopProcessesSample> on) override {
        return counted(kTopProcessSamplerSlot, i, std::move(on),
                       &SamplerFactory::makeTopProcessSampler);
    }

  private:
    static constexpr int kAbsent = -1;

    template <typename Sample>
    std::shared_ptr<Sampler> counted(
        size_t slot, double interval, OnSample<Sample> onSample,
        std::shared_ptr<Sampler> (SamplerFactory::*make)(double, OnSample<Sample>)) {
        counts_[slot] = 0;
        auto sampler = (inner_.*make)(interval, [this, slot, onSample](const Sample& sample) {
            onSample(sample);
            ++counts_[slot];
        });
        if (!sampler) counts_[slot] = kAbsent;
        return sampler;
    }

    SamplerFactory& inner_;
    std::array<std::atomic<int>, kSamplerCount> counts_{};
};

}  // namespace glintdeck
