#pragma once

#include <memory>
#include <vector>

#include "core/interval_source.h"
#include "core/sampler_factory.h"

namespace glintdeck {

// Samplers that only count starts and stops and keep their delivery callback, so a test can
// deliver samples as if from a sampler's queue.
class FakeSampler final : public Sampler {
  public:
    void start() override { ++starts; }
    void stop() override { ++stops; }
    int starts = 0;
    int stops = 0;
};

class FakeSamplerFactory final : public SamplerFactory {
  public:
    struct Run {
        double interval = 0;
        std::vector<std::shared_ptr<FakeSampler>> samplers;  // in creation order
        OnSample<CPUSample> cpu;
        OnSample<MemorySample> memory;
        OnSample<DiskSample> disk;
        OnSample<NetworkSample> network;
        OnSample<BatterySample> battery;
        OnSample<GPUSample> gpu;
        OnSample<FanSample> fan;
        OnSample<PowerSample> power;
        OnSample<TemperatureSample> temps;
        OnSample<LoadSample> loadAverage;
        OnSample<UptimeSample> uptime;
        OnSample<TopProcessesSample> topProcesses;
    };

    // Every start of the store begins a new run with the CPU sampler.
    std::vector<Run> runs;

    std::shared_ptr<Sampler> makeCPUSampler(double interval, OnSample<CPUSample> on) override {
        runs.push_back(Run{.interval = interval});
        return keep(runs.back().cpu, std::move(on));
    }
    std::shared_ptr<Sampler> makeMemorySampler(double, OnSample<MemorySample> on) override {
        return keep(runs.back().memory, std::move(on));
    }
    std::shared_ptr<Sampler> makeDiskSampler(double, OnSample<DiskSample> on) override {
        return keep(runs.back().disk, std::move(on));
    }
    std::shared_ptr<Sampler> makeNetworkSampler(double, OnSample<NetworkSample> on) override {
        return keep(runs.back().network, std::move(on));
    }
    std::shared_ptr<Sampler> makeBatterySampler(double, OnSample<BatterySample> on) override {
        return keep(runs.back().battery, std::move(on));
    }
    std::shared_ptr<Sampler> makeGPUSampler(double, OnSample<GPUSample> on) override {
        return keep(runs.back().gpu, std::move(on));
    }
    std::shared_ptr<Sampler> makeFanSampler(double, OnSample<FanSample> on) override {
        return keep(runs.back().fan, std::move(on));
    }
    std::shared_ptr<Sampler> makePowerSampler(double, OnSample<PowerSample> on) override {
        return keep(runs.back().power, std::move(on));
    }
    std::shared_ptr<Sampler> makeTemperatureSampler(double,
                                                    OnSample<TemperatureSample> on) override {
        return keep(runs.back().temps, std::move(on));
    }
    std::shared_ptr<Sampler> makeLoadAverageSampler(double, OnSample<LoadSample> on) override {
        return keep(runs.back().loadAverage, std::move(on));
    }
    std::shared_ptr<Sampler> makeUptimeSampler(double, OnSample<UptimeSample> on) override {
        return keep(runs.back().uptime, std::move(on));
    }
    std::shared_ptr<Sampler> makeTopProcessSampler(double,
                                                   OnSample<TopProcessesSample> on) override {
        return keep(runs.back().topProcesses, std::move(on));
    }

  private:
    template <typename Sample>
    std::shared_ptr<Sampler> keep(OnSample<Sample>& slot, OnSample<Sample> on) {
        slot = std::move(on);
        auto sampler = std::make_shared<FakeSampler>();
        runs.back().samplers.push_back(sampler);
        return sampler;
    }
};

// An interval the test can change between starts.
class FixedInterval final : public IntervalSource {
  public:
    explicit FixedInterval(double seconds) : seconds(seconds) {}
    double interval() const override { return seconds; }
    double seconds;
};

}  // namespace glintdeck
