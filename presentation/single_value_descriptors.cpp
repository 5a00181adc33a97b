#include <string>

#include "presentation/descriptors.h"
#include "presentation/duration_text.h"
#include "presentation/fans.h"
#include "presentation/number_text.h"
#include "presentation/stat_kind_text.h"
#include "presentation/stat_loads.h"
#include "presentation/widest_text.h"

namespace glintdeck {
namespace {

StatDescriptor started(StatKind kind, std::string_view symbol, std::string value,
                       std::string_view widest, double load) {
    return StatDescriptor{.kind = kind,
                          .symbol = std::string(symbol),
                          .value = std::move(value),
                          .widestValue = std::string(widest),
                          .loadPercent = load};
}

std::optional<StatDescriptor> batteryDescriptor(const BatterySample& battery, bool detailed) {
    if (!battery.isPresent) return std::nullopt;
    StatDescriptor d = started(StatKind::battery, batterySymbol(battery),
                               percentText(battery.percent), kWidestPercent, battery.percent);
    if (!detailed) return d;
    std::string state = battery.isCharging ? "Charging" : battery.isOnAC ? "Charged" : "On battery";
    d.detail = {{"Charge", percentText(battery.percent)},
                {"State", std::move(state)},
                {"Time", batteryTimeText(battery.minutesRemaining)}};
    if (battery.healthPercent) d.detail.emplace_back("Health", percentText(*battery.healthPercent));
    if (battery.cycleCount) d.detail.emplace_back("Cycles", std::to_string(*battery.cycleCount));
    if (battery.temperatureC) {
        d.detail.emplace_back("Temp", temperatureText(*battery.temperatureC));
    }
    return d;
}

std::optional<StatDescriptor> fanDescriptor(const FanSample& fan, bool detailed) {
    if (!fan.hasFans) return std::nullopt;
    StatDescriptor d = started(StatKind::fan, symbolName(StatKind::fan), fanSpeedText(fan.fans),
                               kWidestFanSpeed, fanLoadPercent(fan.fans));
    if (!detailed) return d;
    for (size_t i = 0; i < fan.fans.size(); ++i) {
        std::string label = fan.fans.size() > 1 ? "Fan " + std::to_string(i + 1) : "Fan";
        d.detail.emplace_back(std::move(label), fanDetailText(fan.fans[i]));
    }
    return d;
}

std::optional<StatDescriptor> powerDescriptor(const PowerSample& power, bool detailed) {
    if (!power.isAvailable) return std::nullopt;
    StatDescriptor d =
        started(StatKind::power, symbolName(StatKind::power),
                powerValueText(power.cpuWatts, power.gpuWatts), kWidestPower, power.loadPercent);
    if (!detailed) return d;
    double total = power.cpuWatts + power.gpuWatts + power.aneWatts + power.dramWatts;
    d.detail = {{"CPU", wattsText(power.cpuWatts)},
                {"GPU", wattsText(power.gpuWatts)},
                {"ANE", wattsText(power.aneWatts)},
                {"DRAM", wattsText(power.dramWatts)},
                {"Total", wattsText(total)}};
    if (power.systemWatts) d.detail.emplace_back("System", wattsText(*power.systemWatts));
    if (power.dcInWatts) d.detail.emplace_back("DC In", wattsText(*power.dcInWatts));
    return d;
}

StatDescriptor tempsDescriptor(const TemperatureSample& temps, bool detailed) {
    const std::string state(thermalStateName(temps.thermalState));
    StatDescriptor d = started(StatKind::temps, symbolName(StatKind::temps), state,
                               kWidestThermalState, thermalLoadPercent(temps.thermalState));
    if (!detailed) return d;
    for (const TempReading& reading : temps.sensors) {
        d.detail.emplace_back(reading.label, temperatureText(reading.celsius));
    }
    if (temps.sensors.empty()) d.detail.emplace_back("Pressure", state);
    return d;
}

StatDescriptor loadAverageDescriptor(const LoadSample& load, long processorCount, bool detailed) {
    StatDescriptor d =
        started(StatKind::loadAverage, symbolName(StatKind::loadAverage), twoDecimalText(load.one),
                kWidestLoadAverage, loadAveragePercent(load.one, processorCount));
    if (!detailed) return d;
    d.detail = {{"1 min", twoDecimalText(load.one)},
                {"5 min", twoDecimalText(load.five)},
                {"15 min", twoDecimalText(load.fifteen)},
                {"Cores", std::to_string(processorCount)}};
    return d;
}

StatDescriptor uptimeDescriptor(const UptimeSample& uptime,
                                const DescriptorEnvironment& environment, bool detailed) {
    StatDescriptor d = started(StatKind::uptime, symbolName(StatKind::uptime),
                               formatUptime(uptime.seconds), kWidestUptime, 0);
    if (!detailed) return d;
    double now = environment.clock ? environment.clock->wallSeconds() : 0;
    d.detail = {{"Uptime", formatUptime(uptime.seconds)},
                {"Booted", formatBootTime(uptime.seconds, now, environment.localeName)}};
    return d;
}

}  // namespace

std::optional<StatDescriptor> singleValueDescriptor(StatKind kind, const StatsStore& store,
                                                    const DescriptorEnvironment& environment,
                                                    bool detailed) {
    switch (kind) {
        case StatKind::battery:
            return batteryDescriptor(store.battery(), detailed);
        case StatKind::fan:
            return fanDescriptor(store.fan(), detailed);
        case StatKind::power:
            return powerDescriptor(store.power(), detailed);
        case StatKind::temps:
            return tempsDescriptor(store.temps(), detailed);
        case StatKind::loadAverage:
            return loadAverageDescriptor(store.loadAverage(), environment.processorCount, detailed);
        case StatKind::uptime:
            return uptimeDescriptor(store.uptime(), environment, detailed);
        default:
            return std::nullopt;
    }
}

}  // namespace glintdeck
