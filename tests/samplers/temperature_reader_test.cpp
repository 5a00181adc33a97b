#include <gtest/gtest.h>

#include <limits>

#include "samplers/iohid_temperature_reader.h"
#include "samplers/temperature_sampler.h"
#include "tests/support/fake_smc.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {
namespace {

// A sensor whose reading the test sets (nothing: the sensor gives no event).
class SettableSensor final : public TemperatureSensor {
  public:
    explicit SettableSensor(std::shared_ptr<std::optional<double>> value)
        : value_(std::move(value)) {}
    std::optional<double> temperature() override { return *value_; }

  private:
    std::shared_ptr<std::optional<double>> value_;
};

struct FakeService {
    std::string product;
    std::optional<double> celsius;
    std::optional<std::string> role = std::nullopt;
};

class FakeServices final : public ThermalServiceSource {
  public:
    explicit FakeServices(std::vector<FakeService> services) : services_(std::move(services)) {}
    std::vector<ThermalService> copyServices() override {
        std::vector<ThermalService> copied;
        for (const FakeService& s : services_) {
            copied.push_back({s.product, s.role,
                              std::make_unique<SettableSensor>(
                                  std::make_shared<std::optional<double>>(s.celsius))});
        }
        return copied;
    }

  private:
    std::vector<FakeService> services_;
};

std::vector<std::unique_ptr<ThermalServiceSource>> sources(std::vector<FakeService> services) {
    std::vector<std::unique_ptr<ThermalServiceSource>> list;
    list.push_back(std::make_unique<FakeServices>(std::move(services)));
    return list;
}

const SMCTemperatureKey kKeys[] = {
    {"Tp01", "CPU"}, {"Tp05", "CPU"}, {"Tg05", "GPU"}, {"TB1T", "Battery"}};

std::vector<TempReading> readOnce(std::vector<FakeService> services,
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
             Row{"gpu battery", "Battery"},   // battery is tested before gpu
             Row{"NAND CH0 temp", "SSD"},     // lower-cased before testing
             Row{"pmu tnand", std::nullopt},  // nand must begin the text
             Row{"GPU MTR Temp Sensor1", "GPU"},
             Row{"PACC MTR Temp Sensor2", "CPU"},
             Row{"eACC MTR Temp Sensor0", "CPU"},
             Row{"dell_smm CPU", "CPU"},
             Row{"k10temp Tdie", "SoC"},
             Row{"SOC MTR Temp Sensor0", "SoC"},
             Row{"PMU tdev1", std::nullopt},
             Row{"", std::nullopt},
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

TEST(TemperatureReaderTest, PlatformRolesComeBeforeTheProductText) {
    auto readings = readOnce({{"coretemp Package id 0", 60.0, "CPU"},
                              {"nct6775 CPUTIN", 35.0, ""},  // known, and deliberately unused
                              {"acpitz temp1", 48.0, "SoC"},
                              {"thinkpad temp1", 45.0}});  // no role either way
    EXPECT_EQ(readings, (std::vector<TempReading>{{"CPU", 60}, {"SoC", 48}}));
}

TEST(TemperatureReaderTest, BuildsWithoutControllerKeysNeverOpenTheController) {
    int opened = 0;
    SmcOpener opener = [&]() -> std::unique_ptr<SmcConnection> {
        ++opened;
        return nullptr;
    };
    IOHIDTemperatureReader noKeys(sources({{"cpu", 50.0}}), opener, {});
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(noKeys.hasSMC());
#if defined(__x86_64__)
    EXPECT_TRUE(smcTemperatureKeys().empty());
    IOHIDTemperatureReader defaults(sources({}), opener);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(defaults.read(), std::vector<TempReading>{});
#endif
}

class ScriptedThermalState final : public ThermalStateSource {
  public:
    ThermalState thermalState() override {
        return static_cast<ThermalState>(std::min(calls_++, 3));
    }

  private:
    int calls_ = 0;
};

TEST(TemperatureSamplerTest, EveryTickDeliversTheStateWithTheReadings) {
    ManualExecutor executor;
    std::vector<TemperatureSample> samples;
    int built = 0;
    auto sampler = std::make_shared<TemperatureSampler>(
        executor, 1.0,
        [&] {
            ++built;
            return std::make_unique<IOHIDTemperatureReader>(sources({{"cpu", 50.0}}), SmcOpener{},
                                                            std::span<const SMCTemperatureKey>{});
        },
        [] { return std::make_unique<ScriptedThermalState>(); },
        [&](const TemperatureSample& s) { samples.push_back(s); });
    sampler->start();
    EXPECT_EQ(built, 0) << "discovery runs on the queue, not in start()";
    executor.advance(1.5);
    sampler->stop();
    executor.runUntilIdle();
    EXPECT_EQ(built, 1);
    EXPECT_EQ(samples, (std::vector<TemperatureSample>{
                           {ThermalState::nominal, {{"CPU", 50}}},
                           {ThermalState::fair, {{"CPU", 50}}},
                       }));
}

}  // namespace
}  // namespace glintdeck
