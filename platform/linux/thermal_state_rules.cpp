#include "platform/linux/thermal_state_rules.h"

#include <algorithm>
#include <cctype>

#include "samplers/iohid_temperature_reader.h"

namespace glintdeck {
namespace {

constexpr double kCriticalMargin = 5;
constexpr double kFairMargin = 10;
constexpr double kDefaultMaximum = 80;
constexpr double kSeriousThrottleShare = 0.1;
// No machine is built to power off below this: a lower critical trip is a firmware
// placeholder (desktop boards publish 20.8 °C beside a 16.8 °C reading).
constexpr double kLowestPlausibleCriticalTrip = 50;

// Disabled trips and limits read 0 (x86_pkg_temp) or absolute zero (INT340x).
bool isRealLimit(std::optional<double> celsius) { return celsius && *celsius > 0; }

ThermalState sensorState(const ThermalSignals::Sensor& sensor) {
    if (sensor.criticalAlarm) return ThermalState::fair;
    if (!isPlausibleTemperature(sensor.celsius)) return ThermalState::nominal;
    // The nearer of its limits; a processor without any is held to 80 °C.
    std::optional<double> limit;
    if (sensor.isCPU && isRealLimit(sensor.maximum)) limit = sensor.maximum;
    // A critical limit below any machine's shutdown point is the firmware's placeholder, as
    // an ACPI zone's hwmon copy of a placeholder trip is.
    if (isRealLimit(sensor.critical) && *sensor.critical >= kLowestPlausibleCriticalTrip) {
        limit = std::min(limit.value_or(*sensor.critical), *sensor.critical);
    }
    if (!limit && sensor.isCPU) limit = kDefaultMaximum;
    if (limit && sensor.celsius >= *limit - kFairMargin) return ThermalState::fair;
    return ThermalState::nominal;
}

bool isPlausibleTrip(const ThermalSignals::Zone& zone, const ThermalSignals::Trip& trip) {
    if (!isRealLimit(trip.celsius) || trip.celsius <= zone.lowest) return false;
    return trip.type != ThermalSignals::Trip::Type::critical ||
           trip.celsius >= kLowestPlausibleCriticalTrip;
}

ThermalState zoneState(const ThermalSignals::Zone& zone) {
    if (!zone.hasChanged || !isPlausibleTemperature(zone.celsius)) return ThermalState::nominal;
    ThermalState state = ThermalState::nominal;
    for (const ThermalSignals::Trip& trip : zone.trips) {
        if (!isPlausibleTrip(zone, trip)) continue;
        if (trip.type == ThermalSignals::Trip::Type::critical) {
            if (zone.celsius >= trip.celsius - kCriticalMargin) return ThermalState::critical;
        } else if (zone.celsius >= trip.celsius) {
            state = ThermalState::serious;
        }
    }
    return state;
}

}  // namespace

ThermalState classifyThermalSignals(const ThermalSignals& signals) {
    ThermalState state = ThermalState::nominal;
    auto raise = [&state](ThermalState other) { state = std::max(state, other); };
    for (const auto& sensor : signals.sensors) raise(sensorState(sensor));
    for (const auto& zone : signals.zones) raise(zoneState(zone));
    if (signals.processorCoolingActive) raise(ThermalState::serious);
    if (signals.throttledMilliseconds > 0) {
        bool heavy =
            signals.throttledMilliseconds > signals.tickSeconds * 1000 * kSeriousThrottleShare;
        raise(heavy ? ThermalState::serious : ThermalState::fair);
    }
    return state;
}

std::optional<ThermalSignals::Trip::Type> tripType(std::string_view type) {
    if (type == "critical") return ThermalSignals::Trip::Type::critical;
    if (type == "hot") return ThermalSignals::Trip::Type::hot;
    if (type == "passive") return ThermalSignals::Trip::Type::passive;
    return std::nullopt;
}

std::optional<std::string> thermalZoneRole(std::string_view type) {
    std::string text(type);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // x86_pkg_temp: the package sensor; TCPU and B0D4: the INT340x processor participant.
    if (text == "x86_pkg_temp" || text == "b0d4" || text.find("cpu") != std::string::npos) {
        return "CPU";
    }
    if (text == "acpitz" || text.starts_with("pch_") || text.find("soc") != std::string::npos) {
        return "SoC";
    }
    return std::nullopt;
}

ThermalState ThermalStateFilter::update(ThermalState observed) {
    if (observed == current_) {
        pending_.reset();
    } else if (pending_ == observed) {
        current_ = observed;
        pending_.reset();
    } else {
        pending_ = observed;
    }
    return current_;
}

}  // namespace glintdeck
