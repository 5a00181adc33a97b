#include "samplers/battery_sampler.h"

namespace glintdeck {
namespace {

void addRegistry(const PropertyTable& registry, BatterySample& sample) {
    sample.cycleCount = wholeNumber(numberAt(registry, "CycleCount"));

    std::optional<double> design = numberAt(registry, "DesignCapacity");
    std::optional<double> full = numberAt(registry, "NominalChargeCapacity");
    if (!full) full = numberAt(registry, "AppleRawMaxCapacity");
    // Not clamped: a new battery can hold more than its design capacity.
    if (design && *design > 0 && full) sample.healthPercent = *full / *design * 100;

    if (std::optional<double> hundredths = numberAt(registry, "Temperature")) {
        sample.temperatureC = *hundredths / 100;
    }
}

BatterySample sampleFrom(const PowerSourceReading& reading) {
    if (!reading.description) return BatterySample::empty();
    const PropertyTable& description = *reading.description;

    BatterySample sample;
    sample.isPresent = true;

    double current = numberAt(description, "Current Capacity").value_or(0);
    double maximum = numberAt(description, "Max Capacity").value_or(100);
    // Not clamped: some gauges report a charge above their own full capacity.
    sample.percent = maximum > 0 ? current / maximum * 100 : 0;

    sample.isCharging = booleanAt(description, "Is Charging").value_or(false);
    const std::string* state = textAt(description, "Power Source State");
    sample.isOnAC = state != nullptr && *state == "AC Power";

    // Only the key matching the charging state counts; the other may hold a stale figure.
    std::optional<int64_t> minutes = wholeNumber(
        numberAt(description, sample.isCharging ? "Time to Full Charge" : "Time to Empty"));
    if (minutes && *minutes >= 1) sample.minutesRemaining = minutes;

    if (reading.registry) addRegistry(*reading.registry, sample);
    return sample;
}

}  // namespace

BatterySampler::BatterySampler(Executor& executor, double interval,
                               std::unique_ptr<PowerSource> source, OnSample onSample)
    : PeriodicSampler(executor, "BatterySampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void BatterySampler::prepare() { source_->prepare(); }

void BatterySampler::tick() { onSample_(sampleFrom(source_->read())); }

}  // namespace glintdeck
