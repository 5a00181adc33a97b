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

// What a sampler delivers over `ticks` ticks of a one-second interval on a manual executor; the
// arguments are the sampler's sources, between its interval and its delivery callback.
template <typename SamplerType, typename... Sources>
auto samplesOf(int ticks, Sources&&... sources) {
    using Sample = typename DeliveredSample<typename SamplerType::OnSample>::type;
    ManualExecutor executor;
    std::vector<Sample> samples;
    auto sampler = std::make_shared<SamplerType>(executor, 1.0, std::forward<Sources>(sources)...,
                                                 [&](const Sample& s) { samples.push_back(s); });
    sampler->start();
    executor.advance(ticks - 0.5);
    sampler->stop();
    executor.runUntilIdle();
    return samples;
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
