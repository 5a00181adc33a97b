#include "platform/linux/linux_thermal_state.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/linux/directory_entries.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

std::optional<int64_t> readInteger(KernelFile& file) {
    std::optional<std::string_view> text = file.read();
    if (!text) return std::nullopt;
    return parseAttributeInteger(*text);
}

// Entries of a class folder whose names start with prefix, in name order.
std::vector<fs::path> classEntries(const std::string& folder, std::string_view prefix) {
    std::vector<fs::path> entries;
    for (const auto& entry : DirectoryEntries(folder)) {
        if (entry.path().filename().string().starts_with(prefix)) entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<ThermalSignals::Trip> readTrips(const fs::path& zone) {
    std::vector<ThermalSignals::Trip> trips;
    for (int k = 0;; ++k) {
        std::string prefix = (zone / ("trip_point_" + std::to_string(k))).string();
        std::optional<std::string> type = readAttribute(prefix + "_type");
        if (!type) break;
        std::optional<int64_t> millidegrees = readAttributeInteger(prefix + "_temp");
        auto kind = tripType(*type);
        if (!kind || !millidegrees) continue;  // an unreadable trip is a disabled one
        trips.push_back({*kind, static_cast<double>(*millidegrees) / 1000});
    }
    return trips;
}

}  // namespace

LinuxThermalState::LinuxThermalState(const std::string& root, std::shared_ptr<const Clock> clock)
    : clock_(std::move(clock)) {
    for (const LinuxTemperatureInput& input : discoverTemperatureInputs(root)) {
        std::string role = input.role();
        if (role != "CPU" && role != "SoC") continue;
        Sensor sensor{
            .input = std::make_unique<KernelFile>(input.path, kLargestAttribute),
            .unitsPerDegree = input.unitsPerDegree,
            .limits = {
                .critical = input.critical, .maximum = input.maximum, .isCPU = role == "CPU"}};
        if (!input.criticalAlarmPath.empty()) {
            sensor.criticalAlarm =
                std::make_unique<KernelFile>(input.criticalAlarmPath, kLargestAttribute);
        }
        sensors_.push_back(std::move(sensor));
    }

    std::string thermal = root + "/sys/class/thermal";
    for (const fs::path& zone : classEntries(thermal, "thermal_zone")) {
        std::optional<std::string> type = readAttribute((zone / "type").string());
        if (!type || !thermalZoneRole(*type)) continue;
        zones_.push_back({.temperature = std::make_unique<KernelFile>((zone / "temp").string(),
                                                                      kLargestAttribute),
                          .trips = readTrips(zone)});
    }
    for (const fs::path& device : classEntries(thermal, "cooling_device")) {
        if (readAttribute((device / "type").string()) == "Processor") {
            processorCooling_.push_back(
                std::make_unique<KernelFile>((device / "cur_state").string(), kLargestAttribute));
        }
    }

    // Every processor of a package shows that package's counter: keep one per package.
    std::set<int64_t> seenPackages;
    for (const fs::path& cpu : classEntries(root + "/sys/devices/system/cpu", "cpu")) {
        fs::path counter = cpu / "thermal_throttle/package_throttle_total_time_ms";
        std::error_code error;
        if (!fs::exists(counter, error)) continue;
        int64_t package =
            readAttributeInteger((cpu / "topology/physical_package_id").string()).value_or(0);
        if (!seenPackages.insert(package).second) continue;
        packages_.push_back(
            {std::make_unique<KernelFile>(counter.string(), kLargestAttribute), std::nullopt});
    }
}

ThermalSignals LinuxThermalState::readSignals() {
    ThermalSignals signals;
    for (Sensor& sensor : sensors_) {
        std::optional<int64_t> value = readInteger(*sensor.input);
        bool alarm = sensor.criticalAlarm && readInteger(*sensor.criticalAlarm).value_or(0) != 0;
        if (!value && !alarm) continue;
        ThermalSignals::Sensor reading = sensor.limits;
        reading.celsius = value ? static_cast<double>(*value) / sensor.unitsPerDegree : 0;
        reading.criticalAlarm = alarm;
        signals.sensors.push_back(reading);
    }
    for (Zone& zone : zones_) {
        std::optional<int64_t> value = readInteger(*zone.temperature);
        if (!value) continue;
        if (!zone.first) zone.first = value;
        zone.hasChanged |= *value != *zone.first;
        zone.lowest = std::min(zone.lowest.value_or(*value), *value);
        signals.zones.push_back({.celsius = static_cast<double>(*value) / 1000,
                                 .trips = zone.trips,
                                 .hasChanged = zone.hasChanged,
                                 .lowest = static_cast<double>(*zone.lowest) / 1000});
    }
    for (auto& state : processorCooling_) {
        if (readInteger(*state).value_or(0) > 0) signals.processorCoolingActive = true;
    }

    double now = clock_->secondsSinceBoot();
    bool timed = previousTime_ && now > *previousTime_;
    signals.tickSeconds = timed ? now - *previousTime_ : 0;
    previousTime_ = now;
    for (Package& package : packages_) {
        std::optional<int64_t> total = readInteger(*package.throttleTime);
        if (timed && total && package.previous && *total > *package.previous) {
            signals.throttledMilliseconds = std::max(
                signals.throttledMilliseconds, static_cast<double>(*total - *package.previous));
        }
        package.previous = total;
    }
    return signals;
}

ThermalState LinuxThermalState::thermalState() {
    return filter_.update(classifyThermalSignals(readSignals()));
}

}  // namespace glintdeck
