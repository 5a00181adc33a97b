#include "samplers/load_average_sampler.h"

namespace glintdeck {

LoadAverageSampler::LoadAverageSampler(Executor& executor, double interval,
                                       std::unique_ptr<LoadAverageSource> source, OnSample onSample)
    : PeriodicSampler(executor, "LoadAverageSampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void LoadAverageSampler::tick() {
    std::array<double, 3> values{};
    if (source_->loadAverages(values) == 3) {
        onSample_(LoadSample{.one = values[0], .five = values[1], .fifteen = values[2]});
    } else {
        onSample_(LoadSample::empty());
    }
}

}  // namespace glintdeck
