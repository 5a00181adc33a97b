#pragma once

#include <functional>
#include <memory>

#include "core/samples.h"
#include "samplers/iohid_temperature_reader.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

// How hot the machine says it is running, raw 0 (nominal) to 3 (critical). Asked once a tick.
class ThermalStateSource {
  public:
    virtual ~ThermalStateSource() = default;
    [[nodiscard]] virtual ThermalState thermalState() = 0;
};

// Delivers the thermal state with the per-role temperature averages every tick. The reader and
// the thermal-state source are built on the queue at each start (sensor discovery), and
// dropped at stop.
class TemperatureSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const TemperatureSample&)>;
    using ReaderFactory = std::function<std::unique_ptr<IOHIDTemperatureReader>()>;
    using ThermalStateFactory = std::function<std::unique_ptr<ThermalStateSource>()>;

    TemperatureSampler(Executor& executor, double interval, ReaderFactory makeReader,
                       ThermalStateFactory makeThermalState, OnSample onSample);

  private:
    void prepare() override;
    void tick() override;
    void release() override;

    ReaderFactory makeReader_;
    ThermalStateFactory makeThermalState_;
    OnSample onSample_;
    std::unique_ptr<IOHIDTemperatureReader> reader_;
    std::unique_ptr<ThermalStateSource> thermalState_;
};

}  // namespace glintdeck
