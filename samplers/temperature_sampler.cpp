#include "samplers/temperature_sampler.h"

namespace glintdeck {

TemperatureSampler::TemperatureSampler(Executor& executor, double interval,
                                       ReaderFactory makeReader,
                                       ThermalStateFactory makeThermalState, OnSample onSample)
    : PeriodicSampler(executor, "TemperatureSampler", interval, interval),
      makeReader_(std::move(makeReader)),
      makeThermalState_(std::move(makeThermalState)),
      onSample_(std::move(onSample)) {}

void TemperatureSampler::prepare() {
    reader_ = makeReader_();
    thermalState_ = makeThermalState_();
}

void TemperatureSampler::release() {
    reader_.reset();
    thermalState_.reset();
}

void TemperatureSampler::tick() {
    TemperatureSample sample;
    if (reader_) sample.sensors = reader_->read();
    if (thermalState_) sample.thermalState = thermalState_->thermalState();
    onSample_(sample);
}

}  // namespace glintdeck
