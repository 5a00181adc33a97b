#include "presentation/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "tests/support/test_paths.h"

namespace glintdeck {
namespace {

TEST(NumberTextTest, RoundsHalvesAwayFromZero) {
    for (const auto& [x, percent] : std::vector<std::pair<double, const char*>>{
             {37.5, "38%"},
             {62.5, "63%"},
             {99.4, "99%"},
             {99.5, "100%"},
             {-0.4, "0%"},
             {-2.5, "-3%"},
             {std::nan(""), "0%"},
             {std::numeric_limits<double>::infinity(), "0%"}}) {
        EXPECT_EQ(percentText(x), percent) << x;
    }
    EXPECT_TRUE(percentText(1e300).ends_with("%"));  // clamped, not an undefined conversion
    EXPECT_EQ(powerValueText(4.5, 0.5), "5·1 W");
    EXPECT_EQ(powerValueText(4.6, 0.4), "5·0 W");
    EXPECT_EQ(processCPUText(12.34, ","), "12,3%");
    EXPECT_EQ(processCPUText(std::nan(""), "٫"), "0٫0%");  // a separator of several bytes
}

// The fixed formats are printf's, digit for digit, including its rounding of exact halves.
TEST(NumberTextTest, FixedFormatsMatchPrintfInTheCLocale) {
    char expected[64];
    for (int i = -2000; i <= 200000; i += 7) {
        double x = i / 1000.0;
        std::snprintf(expected, sizeof expected, "%.0f°C", x);
        EXPECT_EQ(temperatureText(x), expected);
        std::snprintf(expected, sizeof expected, "%.1f W", x);
        EXPECT_EQ(wattsText(x), expected);
        std::snprintf(expected, sizeof expected, "%.2f", x);
        EXPECT_EQ(twoDecimalText(x), expected);
    }
}

// The GUI sets the process locale from the environment, and under a comma locale printf writes
// "1,5"; the fixed texts must keep their point. The build compiles de_DE into the test tree
// where the system has the locale sources.
TEST(NumberTextTest, ProcessLocaleDoesNotReachTheTexts) {
    if (*test_paths::kLocales != '\0') setenv("LOCPATH", test_paths::kLocales, 1);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no comma-decimal locale";
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    std::string texts =
        temperatureText(61.6) + wattsText(1.5) + twoDecimalText(12) + processCPUText(1.5, ".");
    std::setlocale(LC_ALL, "C");

    ASSERT_EQ(std::string(printed), "1,5");
    EXPECT_EQ(texts, "62°C1.5 W12.001.5%");
}

}  // namespace
}  // namespace glintdeck
