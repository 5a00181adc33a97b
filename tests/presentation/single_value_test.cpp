#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "presentation/fans.h"
#include "presentation/stat_kind_text.h"
#include "presentation/stat_loads.h"

namespace glintdeck {
namespace {

using Fan = FanSample::Fan;

TEST(SingleValueTest, BatterySymbolBoundaries) {
    for (const auto& [percent, symbol] :
         std::vector<std::pair<double, const char*>>{{12.9, "battery.0percent"},
                                                     {13, "battery.25percent"},
                                                     {37.9, "battery.25percent"},
                                                     {38, "battery.50percent"},
                                                     {63, "battery.75percent"},
                                                     {87.9, "battery.75percent"},
                                                     {88, "battery.100percent"}}) {
        EXPECT_EQ(batterySymbol({.isPresent = true, .percent = percent}), symbol) << percent;
        EXPECT_EQ(batterySymbol({.isPresent = true, .percent = percent, .isCharging = true}),
                  "battery.100percent.bolt");
    }
}

TEST(SingleValueTest, TheFastestFanGivesValueAndLoad) {
    std::vector<Fan> two{{.current = 1500, .min = 1000, .max = 6000},
                         {.current = 2500, .min = 1000, .max = 6000}};
    EXPECT_EQ(fanSpeedText(two), "2500 rpm");
    EXPECT_DOUBLE_EQ(fanLoadPercent(two), 30);
    std::vector<Fan> equal{{.current = 3000, .min = 2000, .max = 4000},
                           {.current = 3000, .min = 0, .max = 6000}};
    EXPECT_DOUBLE_EQ(fanLoadPercent(equal), 50);  // the first of equals gives the limits
    EXPECT_EQ(fanSpeedText({}), "0 rpm");
    EXPECT_EQ(fanDetailText({.current = 2400.4, .min = 1199.5, .max = 5800}),
              "2400 rpm (1200–5800)");

    for (Fan fan : {Fan{.current = 500, .min = 1000, .max = 6000}, Fan{.current = 2000},
                    Fan{.current = std::nan(""), .max = 10}}) {
        EXPECT_EQ(fanLoadPercent(std::vector<Fan>{fan}), 0) << fan.current;
    }
    EXPECT_EQ(fanLoadPercent(std::vector<Fan>{{.current = 7000, .min = 1000, .max = 6000}}), 100);
}

TEST(SingleValueTest, LoadsAgainstTheirLimits) {
    EXPECT_DOUBLE_EQ(loadAveragePercent(12.0, 8), 100);
    EXPECT_DOUBLE_EQ(loadAveragePercent(2.0, 8), 25);
    EXPECT_DOUBLE_EQ(loadAveragePercent(0.5, 0), 50);  // an unknown count counts as one
    EXPECT_DOUBLE_EQ(networkLoadPercent(6'250'000, 6'250'000), 100);
    EXPECT_DOUBLE_EQ(networkLoadPercent(1'250'000, 0), 10);
    EXPECT_DOUBLE_EQ(diskLoadPercent(250, 0), 0);
    // The thermal state's load picks its tile's colour band.
    using enum ThermalState;
    for (const auto& [state, name, load] :
         std::vector<std::tuple<ThermalState, std::string, double>>{{nominal, "Nominal", 0},
                                                                    {fair, "Fair", 40},
                                                                    {serious, "Serious", 75},
                                                                    {critical, "Critical", 100}}) {
        EXPECT_EQ(thermalStateName(state), name);
        EXPECT_EQ(thermalLoadPercent(state), load);
    }
}

}  // namespace
}  // namespace glintdeck
