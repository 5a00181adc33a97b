#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"
#include "samplers/property_table.h"

namespace glintdeck {

// One reading of the machine's internal power source.
struct PowerSourceReading {
    // The first power source's description: "Current Capacity", "Max Capacity", "Is Charging",
    // "Power Source State" ("AC Power" or another text), "Time to Full Charge" and "Time to
    // Empty" (minutes). Absent when the machine has no power source.
    std::optional<PropertyTable> description;
    // The battery's own properties: "CycleCount", "DesignCapacity", "NominalChargeCapacity",
    // "AppleRawMaxCapacity", "Temperature" (hundredths of a degree Celsius). Absent when there
    // is no battery entry.
    std::optional<PropertyTable> registry;
};

class PowerSource {
  public:
    virtual ~PowerSource() = default;
    // Discovery that touches the platform; runs on the sampler's queue before the first read.
    virtual void prepare() {}
    [[nodiscard]] virtual PowerSourceReading read() = 0;
};

// Charge, charging state, time remaining, health, cycle count and temperature of the internal
// battery. Every tick delivers: the empty sample when there is no power source, and every
// missing key falls back to its stated default instead of failing the tick.
class BatterySampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const BatterySample&)>;

    BatterySampler(Executor& executor, double interval, std::unique_ptr<PowerSource> source,
                   OnSample onSample);

  private:
    void prepare() override;
    void tick() override;

    std::unique_ptr<PowerSource> source_;
    OnSample onSample_;
};

}  // namespace glintdeck
