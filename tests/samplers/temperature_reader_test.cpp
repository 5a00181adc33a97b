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

TEST(TemperatureReaderTest, OnePlausibleAveragePerRoleInFixedOrder) {
    const Services implausible = {{"cpu a", 0.0},      {"cpu b", 130.0}, {"cpu c", NAN},
                                  {"cpu d", INFINITY}, {"cpu e", -20.0}, {"cpu f", std::nullopt},
                                  {"cpu g", 0.5},      {"cpu h", 129.5}, {"gpu a", 130.0}};
    EXPECT_EQ(readOnce(implausible), (std::vector<TempReading>{{"CPU", 65}}))
        << "a role with no plausible value is left out";
    // Product texts are lower-cased, and the first rule that matches decides: "gpu battery"
    // is a battery. A product no rule matches has no role.
    const Services mixed = {{"NAND CH0 temp", 41.0},
                            {"k10temp Tdie", 52.0},
                            {"GPU MTR Temp Sensor1", 60.0},
                            {"PACC MTR Temp Sensor2", 70.0},
                            {"gpu 2", 62.0},
                            {"NAND CH1", 43.0},
                            {"gpu battery", 33.0},
                            {"SOC MTR Temp Sensor0", 52.0},
                            {"PMU tdev1", 99.0}};
    EXPECT_EQ(readOnce(mixed),
              (std::vector<TempReading>{
                  {"CPU", 70}, {"GPU", 61}, {"SoC", 52}, {"SSD", 42}, {"Battery", 33}}));
    EXPECT_EQ(readOnce({}), std::vector<TempReading>{}) << "no sensors at all";
}

}  // namespace
}  // namespace glintdeck
