#include "samplers/iohid_temperature_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>

namespace glintdeck {
namespace {

constexpr std::array<const char*, 5> kRoleOrder = {"CPU", "GPU", "SoC", "SSD", "Battery"};

struct Average {
    double sum = 0;
    int count = 0;
};

}  // namespace

std::optional<std::string> roleForProduct(std::string_view product) {
    std::string text(product);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto contains = [&](std::string_view part) { return text.find(part) != std::string::npos; };
    auto begins = [&](std::string_view part) { return text.starts_with(part); };
    if (contains("battery")) return "Battery";
    if (begins("nand")) return "SSD";
    if (contains("gpu")) return "GPU";
    if (begins("pacc") || begins("eacc") || contains("cpu")) return "CPU";
    if (contains("tdie") || contains("soc") || contains("mtr temp")) return "SoC";
    return std::nullopt;
}

bool isPlausibleTemperature(double celsius) {
    return std::isfinite(celsius) && celsius > 0 && celsius < 130;
}

// The sources are handed over (a vector of unique_ptr is moved in, never copied) and end with
// the constructor.
IOHIDTemperatureReader::IOHIDTemperatureReader(
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    std::vector<std::unique_ptr<ThermalServiceSource>> sources) {
    for (const auto& source : sources) {
        for (ThermalService& service : source->copyServices()) {
            std::optional<std::string> role =
                service.role ? service.role : roleForProduct(service.product);
            if (role && !role->empty() && service.sensor) {
                sensors_.push_back({std::move(service.sensor), std::move(*role)});
            }
        }
    }
}

std::vector<TempReading> IOHIDTemperatureReader::read() {
    if (sensors_.empty()) return {};
    std::map<std::string, Average, std::less<>> byRole;
    for (Sensor& sensor : sensors_) {
        std::optional<double> value = sensor.sensor->temperature();
        if (!value || !isPlausibleTemperature(*value)) continue;
        Average& average = byRole[sensor.role];
        average.sum += *value;
        ++average.count;
    }

    std::vector<TempReading> readings;
    for (const char* role : kRoleOrder) {
        auto found = byRole.find(role);
        if (found != byRole.end() && found->second.count > 0) {
            readings.push_back({role, found->second.sum / found->second.count});
        }
    }
    return readings;
}

}  // namespace glintdeck
