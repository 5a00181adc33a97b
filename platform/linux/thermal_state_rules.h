#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/samples.h"

namespace glintdeck {

// What the processor's own thermal signals say at one tick. Only processor and SoC sources
// take part: a drive near its limit during a long write is not the machine overheating.
struct ThermalSignals {
    struct Sensor {
        double celsius = 0;
        std::optional<double> critical;  // tempK_crit
        std::optional<double> maximum;   // tempK_max
        bool criticalAlarm = false;
        bool isCPU = true;  // false: an SoC sensor, which has no "near its maximum" rule
    };
    struct Trip {
        enum class Type { critical, hot, passive } type = Type::passive;
        double celsius = 0;
    };
    struct Zone {
        double celsius = 0;
        std::vector<Trip> trips;
        // Firmware placeholders betray themselves over time: a zone that reads the same value
        // tick after tick is no sensor, and a trip at or below the coolest reading seen would
        // have powered the machine off long ago.
        bool hasChanged = true;  // the reading moved at least once since the watch began
        double lowest = 0;       // the lowest reading since the watch began
    };
    std::vector<Sensor> sensors;
    std::vector<Zone> zones;
    bool processorCoolingActive = false;  // a "Processor" cooling device at a state above 0
    double throttledMilliseconds = 0;     // package throttle time gained during the last tick
    double tickSeconds = 0;               // the last tick's length
};

// critical: a zone within 5 °C of a plausible critical trip (the one that powers the machine
// off: at least 50 °C, above the zone's lowest reading, on a zone whose reading moves);
// serious: a plausible passive or hot trip reached, processor cooling active, or throttled for
// more than a tenth of the last tick; fair: a sensor within 10 °C of its critical limit or
// with its critical alarm set, a CPU sensor within 10 °C of its maximum (80 °C where it has
// neither), or any throttling; else nominal. A processor's critical limit is its designed
// throttle point (coretemp's TjMax, k10temp's control limit), so a sensor alone never reads
// above fair: how hard it throttles is what the counters and cooling devices say. Limits and
// trips at or below 0 °C are the placeholders of disabled ones and never count, nor do
// readings outside the plausible range.
[[nodiscard]] ThermalState classifyThermalSignals(const ThermalSignals& signals);

// A trip type of the thermal class ("critical", "hot", "passive"); nothing for the others
// ("active" trips start fans, which is not overheating).
[[nodiscard]] std::optional<ThermalSignals::Trip::Type> tripType(std::string_view type);

// Whether a thermal zone's type names the processor ("CPU") or the chipset and platform
// ("SoC"); nothing for the other zones (Wi-Fi, skin, memory, the INT3400 manager...).
[[nodiscard]] std::optional<std::string> thermalZoneRole(std::string_view type);

// Holds the state until two ticks in a row agree on a new one, so one noisy reading does not
// flip the tile.
class ThermalStateFilter final {
  public:
    [[nodiscard]] ThermalState update(ThermalState observed);

  private:
    ThermalState current_ = ThermalState::nominal;
    std::optional<ThermalState> pending_;
};

}  // namespace glintdeck
