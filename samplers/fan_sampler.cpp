#include "samplers/fan_sampler.h"

#include <cmath>
#include <string>

namespace glintdeck {
namespace {

// The controller may report the count as a float; a non-finite or negative one means no fans,
// and a count past the keys we can form is cut to them.
int fanCount(std::optional<double> reported) {
    if (!reported || !std::isfinite(*reported) || *reported < 1) return 0;
    return static_cast<int>(std::min(std::trunc(*reported), double{FanSampler::kMaxFans}));
}

}  // namespace

FanSampler::FanSampler(Executor& executor, double interval, SmcOpener openSmc, OnSample onSample)
    : PeriodicSampler(executor, "FanSampler", interval, interval),
      openSmc_(std::move(openSmc)),
      onSample_(std::move(onSample)) {}

void FanSampler::prepare() { smc_ = std::make_unique<SMC>(openSmc_()); }

void FanSampler::release() { smc_.reset(); }

void FanSampler::tick() {
    if (!smc_) return;
    int count = fanCount(smc_->read("FNum"));
    FanSample sample;
    std::string key = "F0Ac";
    for (int i = 0; i < count; ++i) {
        key[1] = static_cast<char>('0' + i);
        key.replace(2, 2, "Ac");
        std::optional<double> current = smc_->read(key);
        if (!current) continue;
        key.replace(2, 2, "Mn");
        double min = smc_->read(key).value_or(0);
        key.replace(2, 2, "Mx");
        double max = smc_->read(key).value_or(0);
        sample.fans.push_back({.current = *current, .min = min, .max = max});
    }
    sample.hasFans = !sample.fans.empty();
    onSample_(sample);
}

}  // namespace glintdeck
