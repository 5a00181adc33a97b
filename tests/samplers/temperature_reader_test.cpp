#include <gtest/gtest.h>

#include <limits>

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

// Sensors as (product, reading), all from one source.
class FakeServices final : public ThermalServiceSource {
  public:
    using List = std::vector<std::pair<std::string, std::optional<double>>>;
    explicit FakeServices(List services) : services_(std::move(services)) {}
    std::vector<ThermalService> copyServices() override {
        std::vector<ThermalService> copied;
        for (const auto& [product, celsius] : services_) {
            copied.push_back({product, std::nullopt, std::make_unique<FixedSensor>(celsius)});
        }
        return copied;
    }

  private:
    List services_;
};

std::vector<std::unique_ptr<ThermalServiceSource>> sources(FakeServices::List services) {
    std::vector<std::unique_ptr<ThermalServiceSource>> list;
    list.push_back(std::make_unique<FakeServices>(std::move(services)));
    return list;
}

const SMCTemperatureKey kKeys[] = {
    {"Tp01", "CPU"}, {"Tp05", "CPU"}, {"Tg05", "GPU"}, {"TB1T", "Battery"}};

std::vector<TempReading> readOnce(FakeServices::List services,
                                  std::shared_ptr<FakeSmcState> smc = nullptr) {
    if (!smc) smc = std::make_shared<FakeSmcState>();
    IOHIDTemperatureReader reader(sources(std::move(services)), fakeSmcOpener(smc), kKeys);
    return reader.read();
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
    smc->set("Tp01", "flt ", {0, 0, 0x48, 0x42});  // 50
    smc->set("Tp05", "flt ", {0, 0, 0x70, 0x42});  // 60
    auto readings = readOnce({{"PACC MTR Temp Sensor0", 90.0},
                              {"GPU MTR Temp Sensor1", 40.0},
                              {"SOC MTR Temp Sensor0", 70.0}},
                             smc);
    EXPECT_EQ(readings, (std::vector<TempReading>{{"CPU", 55}, {"GPU", 40}}))
        << "CPU from the controller alone, and SoC sensors silenced by it";

    auto withoutController = readOnce(
        {{"PACC MTR Temp Sensor0", 90.0}, {"SOC MTR Temp Sensor0", 70.0}, {"soc 2", 72.0}});
    EXPECT_EQ(withoutController, (std::vector<TempReading>{{"CPU", 90}, {"SoC", 71}}));
}

TEST(TemperatureReaderTest, OnlyPlausibleValuesCount) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto readings = readOnce({{"cpu a", 0.0},
                              {"cpu b", 130.0},
                              {"cpu c", nan},
                              {"cpu d", inf},
                              {"cpu e", -20.0},
                              {"cpu f", std::nullopt},
                              {"cpu g", 0.5},
                              {"cpu h", 129.5},
                              {"gpu a", 130.0}});
    EXPECT_EQ(readings, (std::vector<TempReading>{{"CPU", 65}}))
        << "a role with no plausible value is left out";

    auto smc = std::make_shared<FakeSmcState>();
    smc->set("Tp01", "sp78", {0x00, 0x00});  // 0: not a key worth keeping
    smc->set("Tg05", "sp78", {0x82, 0x00});  // 130
    IOHIDTemperatureReader reader(sources({{"cpu", 45.0}}), fakeSmcOpener(smc), kKeys);
    EXPECT_FALSE(reader.hasSMC()) << "no key answered plausibly";
    EXPECT_EQ(smc.use_count(), 1) << "so the connection is closed";
    EXPECT_EQ(reader.read(), (std::vector<TempReading>{{"CPU", 45}}));
}

TEST(TemperatureReaderTest, OneReadingPerRoleInFixedOrderWithBatteryLast) {
    auto smc = std::make_shared<FakeSmcState>();
    smc->set("TB1T", "sp78", {0x1E, 0x00});  // 30
    auto readings = readOnce({{"battery gas gauge", 33.0},
                              {"NAND CH0", 41.0},
                              {"tdie 1", 52.0},
                              {"gpu 1", 60.0},
                              {"cpu 1", 70.0},
                              {"gpu 2", 62.0},
                              {"NAND CH1", 43.0}},
                             smc);
    EXPECT_EQ(readings, (std::vector<TempReading>{
                            {"CPU", 70}, {"GPU", 61}, {"SoC", 52}, {"SSD", 42}, {"Battery", 30}}));
}

#if defined(__x86_64__)
TEST(TemperatureReaderTest, IntelBuildsNeverOpenTheController) {
    int opened = 0;
    IOHIDTemperatureReader reader(sources({{"cpu", 50.0}}),
                                  [&]() -> std::unique_ptr<SmcConnection> {
                                      ++opened;
                                      return nullptr;
                                  });
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(reader.hasSMC());
    EXPECT_EQ(reader.read(), (std::vector<TempReading>{{"CPU", 50}}));
}
#endif

}  // namespace
}  // namespace glintdeck
