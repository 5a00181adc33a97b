#include <gtest/gtest.h>

#include <cmath>

#include "samplers/iohid_temperature_reader.h"

namespace glintdeck {
namespace {

struct FixedSensor final : TemperatureSensor {
    explicit FixedSensor(std::optional<double> celsius) : celsius(celsius) {}
    std::optional<double> temperature() override { return celsius; }
    std::optional<double> celsius;  // nothing: the sensor gives no reading
};

using Services = std::vector<std::pair<std::string, std::optional<double>>>;

// Sensors as (product, reading), all from one source.
struct FakeServices final : ThermalServiceSource {
    explicit FakeServices(Services services) : services(std::move(services)) {}
    std::vector<ThermalService> copyServices() override {
        std::vector<ThermalService> copied;
        for (const auto& [product, celsius] : services) {
            copied.push_back({product, std::nullopt, std::make_unique<FixedSensor>(celsius)});
        }
        return copied;
    }
    Services services;
};

std::vector<TempReading> readOnce(Services services) {
    std::vector<std::unique_ptr<ThermalServiceSource>> sources;
    sources.push_back(std::make_unique<FakeServices>(std::move(services)));
    return IOHIDTemperatureReader(std::move(sources)).read();
}

TEST(TemperatureReaderTest, ProductTextsMapToRolesFirstRuleFirst) {
    for (const auto& [product, role] :
         std::vector<std::pair<const char*, std::optional<std::string>>>{
             {"gpu battery", "Battery"},  // battery is tested before gpu
             {"NAND CH0 temp", "SSD"},    // lower-cased before testing
             {"GPU MTR Temp Sensor1", "GPU"},
             {"PACC MTR Temp Sensor2", "CPU"},
             {"k10temp Tdie", "SoC"},
             {"SOC MTR Temp Sensor0", "SoC"},
             {"PMU tdev1", std::nullopt}}) {
        EXPECT_EQ(roleForProduct(product), role) << product;
    }
}

TEST(TemperatureReaderTest, OnePlausibleAveragePerRoleInFixedOrder) {
    const Services implausible = {{"cpu a", 0.0},      {"cpu b", 130.0}, {"cpu c", NAN},
                                  {"cpu d", INFINITY}, {"cpu e", -20.0}, {"cpu f", std::nullopt},
                                  {"cpu g", 0.5},      {"cpu h", 129.5}, {"gpu a", 130.0}};
    EXPECT_EQ(readOnce(implausible), (std::vector<TempReading>{{"CPU", 65}}))
        << "a role with no plausible value is left out";
    const Services mixed = {{"NAND CH0", 41.0}, {"tdie 1", 52.0}, {"gpu 1", 60.0},
                            {"cpu 1", 70.0},    {"gpu 2", 62.0},  {"NAND CH1", 43.0},
                            {"battery 1", 33.0}};
    EXPECT_EQ(readOnce(mixed),
              (std::vector<TempReading>{
                  {"CPU", 70}, {"GPU", 61}, {"SoC", 52}, {"SSD", 42}, {"Battery", 33}}));
    EXPECT_EQ(readOnce({}), std::vector<TempReading>{}) << "no sensors at all";
}

}  // namespace
}  // namespace glintdeck
