#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/samples.h"

namespace glintdeck {

// One thermal sensor, asked for its current temperature at each reading.
class TemperatureSensor {
  public:
    virtual ~TemperatureSensor() = default;
    // Degrees Celsius, or nothing when the sensor gives no reading now.
    [[nodiscard]] virtual std::optional<double> temperature() = 0;
};

struct ThermalService {
    std::string product;  // what the sensor calls itself: "coretemp Package id 0"
    // A role the platform already knows from the sensor's chip; without one, the product text
    // decides (roleForProduct). An empty text means no role: the sensor is not used.
    std::optional<std::string> role;
    std::unique_ptr<TemperatureSensor> sensor;
};

// A set of thermal sensors, listed once when a reader is built. Further providers (a GPU
// library's temperature, say) are further sources.
class ThermalServiceSource {
  public:
    virtual ~ThermalServiceSource() = default;
    [[nodiscard]] virtual std::vector<ThermalService> copyServices() = 0;
};

// The role of a sensor from its product text: "CPU", "GPU", "SoC", "SSD", "Battery", or
// nothing when it plays none.
[[nodiscard]] std::optional<std::string> roleForProduct(std::string_view product);

// Strictly between 0 and 130 degrees and finite: what the readers accept as a temperature.
[[nodiscard]] bool isPlausibleTemperature(double celsius);

// Collects temperatures from thermal sensors, sorts them into the five roles and averages each.
// The result holds at most one reading per role, in the order CPU, GPU, SoC, SSD, Battery.
class IOHIDTemperatureReader final {
  public:
    // Lists the sources' sensors now.
    explicit IOHIDTemperatureReader(std::vector<std::unique_ptr<ThermalServiceSource>> sources);

    [[nodiscard]] std::vector<TempReading> read();

  private:
    struct Sensor {
        std::unique_ptr<TemperatureSensor> sensor;
        std::string role;
    };

    std::vector<Sensor> sensors_;
};

}  // namespace glintdeck
