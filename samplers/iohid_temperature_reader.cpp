#include "samplers/iohid_temperature_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <set>

namespace glintdeck {
namespace {

#if defined(__aarch64__)
constexpr SMCTemperatureKey kSMCTemperatureKeys[] = {
    {"Tp01", "CPU"}, {"Tp05", "CPU"}, {"Tp09", "CPU"},     {"Tp0D", "CPU"},     {"Tp0H", "CPU"},
    {"Tp0L", "CPU"}, {"Tp0P", "CPU"}, {"Tp0T", "CPU"},     {"Tp0X", "CPU"},     {"Tp0b", "CPU"},
    {"Tp1h", "CPU"}, {"Tp1t", "CPU"}, {"Tp1p", "CPU"},     {"Tp1l", "CPU"},     {"Tp0f", "CPU"},
    {"Tp0j", "CPU"}, {"Te05", "CPU"}, {"Te0L", "CPU"},     {"Te0P", "CPU"},     {"Te0S", "CPU"},
    {"Te09", "CPU"}, {"Te0H", "CPU"}, {"Tf04", "CPU"},     {"Tf09", "CPU"},     {"Tf0A", "CPU"},
    {"Tf0B", "CPU"}, {"Tf0D", "CPU"}, {"Tf0E", "CPU"},     {"Tf44", "CPU"},     {"Tf49", "CPU"},
    {"Tf4A", "CPU"}, {"Tf4B", "CPU"}, {"Tf4D", "CPU"},     {"Tf4E", "CPU"},     {"Tp0V", "CPU"},
    {"Tp0Y", "CPU"}, {"Tp0e", "CPU"}, {"Tp00", "CPU"},     {"Tp04", "CPU"},     {"Tp08", "CPU"},
    {"Tp0C", "CPU"}, {"Tp0G", "CPU"}, {"Tp0K", "CPU"},     {"Tp0O", "CPU"},     {"Tp0R", "CPU"},
    {"Tp0U", "CPU"}, {"Tp0a", "CPU"}, {"Tp0d", "CPU"},     {"Tp0g", "CPU"},     {"Tp0m", "CPU"},
    {"Tp0p", "CPU"}, {"Tp0u", "CPU"}, {"Tp0y", "CPU"},     {"Tg05", "GPU"},     {"Tg0D", "GPU"},
    {"Tg0L", "GPU"}, {"Tg0T", "GPU"}, {"Tg0f", "GPU"},     {"Tg0j", "GPU"},     {"Tf14", "GPU"},
    {"Tf18", "GPU"}, {"Tf19", "GPU"}, {"Tf1A", "GPU"},     {"Tf24", "GPU"},     {"Tf28", "GPU"},
    {"Tf29", "GPU"}, {"Tf2A", "GPU"}, {"Tg0G", "GPU"},     {"Tg0H", "GPU"},     {"Tg1U", "GPU"},
    {"Tg1k", "GPU"}, {"Tg0K", "GPU"}, {"Tg0d", "GPU"},     {"Tg0e", "GPU"},     {"Tg0k", "GPU"},
    {"Tg0U", "GPU"}, {"Tg0X", "GPU"}, {"Tg0g", "GPU"},     {"Tg1Y", "GPU"},     {"Tg1c", "GPU"},
    {"Tg1g", "GPU"}, {"TH0x", "SSD"}, {"TB1T", "Battery"}, {"TB2T", "Battery"},
};
#endif

constexpr std::array<const char*, 5> kRoleOrder = {"CPU", "GPU", "SoC", "SSD", "Battery"};

struct Average {
    double sum = 0;
    int count = 0;
};

}  // namespace

std::span<const SMCTemperatureKey> smcTemperatureKeys() {
#if defined(__aarch64__)
    return kSMCTemperatureKeys;
#else
    return {};
#endif
}

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
    std::vector<std::unique_ptr<ThermalServiceSource>> sources, const SmcOpener& openSmc,
    std::span<const SMCTemperatureKey> keys) {
    for (const auto& source : sources) {
        for (ThermalService& service : source->copyServices()) {
            std::optional<std::string> role =
                service.role ? service.role : roleForProduct(service.product);
            if (role && !role->empty() && service.sensor) {
                sensors_.push_back({std::move(service.sensor), std::move(*role)});
            }
        }
    }
    if (keys.empty()) return;
    auto smc = std::make_unique<SMC>(openSmc());
    for (const SMCTemperatureKey& key : keys) {
        std::optional<double> value = smc->read(key.key);
        if (value && isPlausibleTemperature(*value)) smcSensors_.push_back({key.key, key.role});
    }
    if (!smcSensors_.empty()) smc_ = std::move(smc);
}

std::vector<TempReading> IOHIDTemperatureReader::read() {
    if (sensors_.empty() && smcSensors_.empty()) return {};
    std::map<std::string, Average, std::less<>> byRole;
    if (smc_) {
        for (const SMCSensor& sensor : smcSensors_) {
            std::optional<double> value = smc_->read(sensor.key);
            if (!value || !isPlausibleTemperature(*value)) continue;
            Average& average = byRole[sensor.role];
            average.sum += *value;
            ++average.count;
        }
    }
    std::set<std::string, std::less<>> smcRoles;
    for (const auto& [role, average] : byRole) smcRoles.insert(role);

    for (Sensor& sensor : sensors_) {
        if (smcRoles.contains(sensor.role)) continue;
        if (sensor.role == "SoC" && smcRoles.contains("CPU")) continue;
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
