#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "tests/support/manual_executor.h"

namespace glintdeck {

template <typename OnSample>
struct DeliveredSample;
template <typename Sample>
struct DeliveredSample<std::function<void(const Sample&)>> {
    using type = Sample;
};

// A sampler ticking once a second on a manual executor: start() builds it over its sources
// (those between its interval and its delivery callback) and runs its first tick, tick() runs
// one more; what it delivered so far is in `delivered`. Stopped when it goes away.
template <typename SamplerType>
struct SamplerRun {
    using Sample = typename DeliveredSample<typename SamplerType::OnSample>::type;

    ~SamplerRun() { stop(); }
    template <typename... Sources>
    void start(Sources&&... sources) {
        sampler =
            std::make_shared<SamplerType>(executor, 1.0, std::forward<Sources>(sources)...,
                                          [this](const Sample& s) { delivered.push_back(s); });
        sampler->start();
        executor.runUntilIdle();
    }
    void tick() { executor.advance(1); }
    void stop() {
        if (!sampler) return;
        sampler->stop();
        executor.runUntilIdle();
        sampler.reset();
    }

    ManualExecutor executor;
    std::vector<Sample> delivered;
    std::shared_ptr<SamplerType> sampler;
};

// What a sampler delivers over `ticks` ticks.
template <typename SamplerType, typename... Sources>
auto samplesOf(int ticks, Sources&&... sources) {
    SamplerRun<SamplerType> run;
    run.start(std::forward<Sources>(sources)...);
    for (int tick = 1; tick < ticks; ++tick) run.tick();
    run.stop();
    return run.delivered;
}

using Rates = std::vector<std::pair<double, double>>;

// Two rates of each sample (down and up, read and written), to compare a run at a glance.
template <typename Sample>
Rates ratesOf(const std::vector<Sample>& samples, double Sample::*first, double Sample::*second) {
    Rates rates;
    for (const Sample& sample : samples) rates.emplace_back(sample.*first, sample.*second);
    return rates;
}

// A source's readings in order, one per read; nothing once they run out.
template <typename Reading>
struct Script {
    std::deque<std::optional<Reading>> readings;

    std::optional<Reading> next() {
        std::optional<Reading> reading;
        if (readings.empty()) return reading;
        reading.swap(readings.front());
        readings.pop_front();
        return reading;
    }
};

}  // namespace glintdeck
