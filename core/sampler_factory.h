#pragma once

#include <functional>
#include <memory>

#include "core/sampler.h"
#include "core/samples.h"
#include "core/stat_kind.h"

namespace glintdeck {

// A factory makes one sampler per kind and one of the top processes, which feeds the detail cards
// rather than a tile. Where samplers are kept side by side, a kind's sampler sits at the kind's
// index and the top-process sampler after them all.
inline constexpr size_t kTopProcessSamplerSlot = kStatKindCount;
inline constexpr size_t kSamplerCount = kStatKindCount + 1;

// Builds the samplers the store owns. The store decides when and in what order; each
// executable wires in the real (platform) factory and tests a fake one. A factory returns no
// sampler for a kind this platform cannot read at all.
class SamplerFactory {
  public:
    template <typename Sample>
    using OnSample = std::function<void(const Sample&)>;

    virtual ~SamplerFactory() = default;

    virtual std::shared_ptr<Sampler> makeCPUSampler(double interval, OnSample<CPUSample>) = 0;
    virtual std::shared_ptr<Sampler> makeMemorySampler(double interval, OnSample<MemorySample>) = 0;
    virtual std::shared_ptr<Sampler> makeDiskSampler(double interval, OnSample<DiskSample>) = 0;
    virtual std::shared_ptr<Sampler> makeNetworkSampler(double interval,
                                                        OnSample<NetworkSample>) = 0;
    virtual std::shared_ptr<Sampler> makeBatterySampler(double interval,
                                                        OnSample<BatterySample>) = 0;
    virtual std::shared_ptr<Sampler> makeGPUSampler(double interval, OnSample<GPUSample>) = 0;
    virtual std::shared_ptr<Sampler> makeFanSampler(double interval, OnSample<FanSample>) = 0;
    virtual std::shared_ptr<Sampler> makePowerSampler(double interval, OnSample<PowerSample>) = 0;
    virtual std::shared_ptr<Sampler> makeTemperatureSampler(double interval,
                                                            OnSample<TemperatureSample>) = 0;
    virtual std::shared_ptr<Sampler> makeLoadAverageSampler(double interval,
                                                            OnSample<LoadSample>) = 0;
    virtual std::shared_ptr<Sampler> makeUptimeSampler(double interval, OnSample<UptimeSample>) = 0;
    virtual std::shared_ptr<Sampler> makeTopProcessSampler(double interval,
                                                           OnSample<TopProcessesSample>) = 0;
};

}  // namespace glintdeck
