#include <gtest/gtest.h>

#include <cmath>

#include "samplers/iohid_temperature_reader.h"
#include "tests/support/fake_smc.h"

namespace glintdeck {
namespace {

class FixedSensor final : public TemperatureSensor {
  public:
    explicit FixedSensor(std::optional<double> celsius) : celsius_(celsius) {}
    std::optional<double> temperature() override { return celsius_; }

  private:
    std::optional<double> celsius_;  // nothing: the sensor gives no event
};

using Services = std::vector<std::pair<std::string, std::optional<double>>>;

// Sensors as (product, reading), all from one source.
class FakeServices final : public ThermalServiceSource {
  public:
    explicit FakeServices(Services services) : services_(std::move(services)) {}
    std::vector<ThermalService> copyServices() override {
        std::vector<ThermalService> copied;
        for (const auto& [product, celsius] : services_) {
            copied.push_back({product, std::nullopt, std::make_unique<FixedSensor>(celsius)});
        }
        return copied;
    }

  private:
    Services services_;
};

const SMCTemperatureKey kKeys[] = {
    {"Tp01", "CPU"}, {"Tp05", "CPU"}, {"Tg05", "GPU"}, {"TB1T", "Battery"}};

std::vector<std::unique_ptr<ThermalServiceSource>> sources(Services services) {
    std::vector<std::unique_ptr<ThermalServiceSource>> list;
    list.push_back(std::make_unique<FakeServices>(std::move(services)));
    return list;
}

IOHIDTemperatureReader reader(Services services, std::shared_ptr<FakeSmcState> smc) {
    return IOHIDTemperatureReader(sources(std::move(services)), fakeSmcOpener(std::move(smc)),
                                  kKeys);
}

std::vector<TempReading> readOnce(
    Services services, std::shared_ptr<FakeSmcState> smc = std::make_shared<FakeSmcState>()) {
    return reader(std::move(services), std::move(smc)).read();
}

TEST(TemperatureReaderTest, ProductTextsMapToRolesFirstRuleFirst) {
    struct Row {
        const char* product;
        std::optional<std::string> role;
    };
    for (const Row& row : {
             Row{"gpu battery", "Battery"},  // battery is tested before gpu
             Row{"NAND CH0 temp", "SSD"},    // lower-cased before testing
             Row{"GPU MTR Temp Sensor1", "GPU"},
             Row{"PACC MTR Temp Sensor2", "CPU"},
             Row{"k10temp Tdie", "SoC"},
             Row{"SOC MTR Temp Sensor0", "SoC"},
             Row{"PMU tdev1", std::nullopt},
         }) {
        EXPECT_EQ(roleForProduct(row.product), row.role) << row.product;
    }
}

TEST(TemperatureReaderTest, ControllerValuesReplaceTheSensorsOfTheirRole) {
    auto smc = std::make_shared<FakeSmcState>();
    smc->setFloat("Tp01", 50);
    smc->setFloat("Tp05", 60);
    EXPECT_EQ(readOnce({{"PACC MTR Temp Sensor0", 90.0},
                        {"GPU MTR Temp Sensor1", 40.0},
                        {"SOC MTR Temp Sensor0", 70.0}},
                       smc),
              (std::vector<TempReading>{{"CPU", 55}, {"GPU", 40}}))
        << "CPU from the controller alone, and SoC sensors silenced by it";
    EXPECT_EQ(
        readOnce(
            {{"PACC MTR Temp Sensor0", 90.0}, {"SOC MTR Temp Sensor0", 70.0}, {"soc 2", 72.0}}),
        (std::vector<TempReading>{{"CPU", 90}, {"SoC", 71}}));
}

TEST(TemperatureReaderTest, OnlyPlausibleValuesCount) {
    EXPECT_EQ(readOnce({{"cpu a", 0.0},
                        {"cpu b", 130.0},
                        {"cpu c", NAN},
                        {"cpu d", INFINITY},
                        {"cpu e", -20.0},
                        {"cpu f", std::nullopt},
                        {"cpu g", 0.5},
                        {"cpu h", 129.5},
                        {"gpu a", 130.0}}),
              (std::vector<TempReading>{{"CPU", 65}}))
        << "a role with no plausible value is left out";

    auto smc = std::make_shared<FakeSmcState>();
    smc->setFloat("Tp01", 0);  // not a key worth keeping
    smc->setFloat("Tg05", 130);
    IOHIDTemperatureReader unanswered = reader({{"cpu", 45.0}}, smc);
    EXPECT_FALSE(unanswered.hasSMC()) << "no key answered plausibly";
    EXPECT_EQ(smc.use_count(), 1) << "so the connection is closed";
    EXPECT_EQ(unanswered.read(), (std::vector<TempReading>{{"CPU", 45}}));
}

TEST(TemperatureReaderTest, OneReadingPerRoleInFixedOrderWithBatteryLast) {
    auto smc = std::make_shared<FakeSmcState>();
    smc->setFloat("TB1T", 30);
    EXPECT_EQ(readOnce({{"battery gas gauge", 33.0},
                        {"NAND CH0", 41.0},
                        {"tdie 1", 52.0},
                        {"gpu 1", 60.0},
                        {"cpu 1", 70.0},
                        {"gpu 2", 62.0},
                        {"NAND CH1", 43.0}},
                       smc),
              (std::vector<TempReading>{
                  {"CPU", 70}, {"GPU", 61}, {"SoC", 52}, {"SSD", 42}, {"Battery", 30}}));
    EXPECT_EQ(readOnce({}), std::vector<TempReading>{}) << "no sensors at all";
}

#if defined(__x86_64__)
TEST(TemperatureReaderTest, BuildsWithoutControllerKeysNeverOpenTheController) {
    int opened = 0;
    IOHIDTemperatureReader withoutKeys(sources({{"cpu", 50.0}}), [&] {
        ++opened;
        return std::unique_ptr<SmcConnection>();
    });
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(withoutKeys.hasSMC());
    EXPECT_EQ(withoutKeys.read(), (std::vector<TempReading>{{"CPU", 50}}));
}
#endif

}  // namespace
}  // namespace glintdeck
