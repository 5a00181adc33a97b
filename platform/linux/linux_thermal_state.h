#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "platform/linux/kernel_file.h"
#include "platform/linux/thermal_state_rules.h"
#include "samplers/temperature_sampler.h"

namespace glintdeck {

// The thermal state from the processor's own signals under root: processor and SoC thermal
// zones with their trip points, processor and SoC hwmon inputs with their limits, "Processor"
// cooling devices, and each package's thermal-throttle time. Sources are found once, at
// construction; trip points and limits are read then too. A machine with none of them (a
// virtual machine) stays nominal.
class LinuxThermalState final : public ThermalStateSource {
  public:
    LinuxThermalState(const std::string& root, std::shared_ptr<const Clock> clock);

    [[nodiscard]] ThermalState thermalState() override;

  private:
    struct Sensor {
        std::unique_ptr<KernelFile> input;
        std::unique_ptr<KernelFile> criticalAlarm;  // null when the chip has none
        double unitsPerDegree = 1000;
        ThermalSignals::Sensor limits;
    };
    struct Zone {
        std::unique_ptr<KernelFile> temperature;
        std::vector<ThermalSignals::Trip> trips;
        std::optional<int64_t> first;   // millidegrees, the first reading
        std::optional<int64_t> lowest;  // millidegrees
        bool hasChanged = false;
    };
    struct Package {
        std::unique_ptr<KernelFile> throttleTime;  // milliseconds
        std::optional<int64_t> previous;
    };

    [[nodiscard]] ThermalSignals readSignals();

    std::shared_ptr<const Clock> clock_;
    std::vector<Sensor> sensors_;
    std::vector<Zone> zones_;
    std::vector<std::unique_ptr<KernelFile>> processorCooling_;  // cur_state
    std::vector<Package> packages_;
    std::optional<double> previousTime_;
    ThermalStateFilter filter_;
};

}  // namespace glintdeck
