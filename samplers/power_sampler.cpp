#include "samplers/power_sampler.h"

#include <algorithm>

namespace glintdeck {

PowerSampler::PowerSampler(Executor& executor, double interval, ReaderFactory makeReader,
                           SmcOpener openSmc, OnSample onSample)
    : PeriodicSampler(executor, "PowerSampler", interval, interval),
      makeReader_(std::move(makeReader)),
      openSmc_(std::move(openSmc)),
      onSample_(std::move(onSample)) {}

void PowerSampler::prepare() {
    reader_ = makeReader_();
    smc_ = std::make_unique<SMC>(openSmc_());
    hasSystemKey_ = smc_->read("PSTR").has_value();
    hasDCInKey_ = smc_->read("PDTR").has_value();
    if (!hasSystemKey_ && !hasDCInKey_) smc_.reset();
    peakTotal_ = 0;
}

void PowerSampler::release() {
    reader_.reset();
    smc_.reset();
}

void PowerSampler::tick() {
    if (!reader_) return;
    PowerSample sample;
    sample.isAvailable = reader_->isAvailable();
    double peak = peakTotal_;
    if (std::optional<DomainPower> power = reader_->sample()) {
        sample.cpuWatts = power->cpu;
        sample.gpuWatts = power->gpu;
        sample.aneWatts = power->ane;
        sample.dramWatts = power->dram;
        double total = power->cpu + power->gpu + power->ane + power->dram;
        peak = std::max(peakTotal_, total);
        sample.loadPercent = peak > 0 ? std::min(total / peak * 100, 100.0) : 0;
    }
    auto smcWatts = [this](bool hasKey, const char* key) -> std::optional<double> {
        if (!hasKey) return std::nullopt;
        return smc_ ? smc_->read(key).value_or(0) : 0;
    };
    sample.systemWatts = smcWatts(hasSystemKey_, "PSTR");
    sample.dcInWatts = smcWatts(hasDCInKey_, "PDTR");
    peakTotal_ = peak;
    onSample_(sample);
}

}  // namespace glintdeck
