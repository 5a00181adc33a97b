#include "presentation/duration_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace glintdeck {
namespace {

TEST(DurationTextTest, UptimeAndBatteryTime) {
    for (const auto& [seconds, text] :
         std::vector<std::pair<double, const char*>>{{0, "0s"},
                                                     {59.9, "59s"},
                                                     {60, "1m 0s"},
                                                     {3599.99, "59m 59s"},
                                                     {3600, "1h 0m"},
                                                     {86399, "23h 59m"},
                                                     {86400, "1d 0h"},
                                                     {90061, "1d 1h"},
                                                     {-5, "0s"},
                                                     {std::nan(""), "0s"}}) {
        EXPECT_EQ(formatUptime(seconds), text) << seconds;
    }
    EXPECT_TRUE(formatUptime(1e300).ends_with("h"));  // clamped, not an undefined conversion

    EXPECT_EQ(batteryTimeText(125), "2:05");
    EXPECT_EQ(batteryTimeText(59), "0:59");
    EXPECT_EQ(batteryTimeText(600), "10:00");
    EXPECT_EQ(batteryTimeText(0), "—");
    EXPECT_EQ(batteryTimeText(std::nullopt), "—");
}

// ICU's spacing changes between versions (a narrow no-break space before AM since ICU 72), so
// spaces of every kind compare as one.
std::string withPlainSpaces(std::string text) {
    for (std::string_view space : {"\u202f", "\u00a0", "\u2009"}) {
        for (size_t at; (at = text.find(space)) != std::string::npos;) {
            text.replace(at, space.size(), " ");
        }
    }
    return text;
}

TEST(DurationTextTest, BootTimeIsWrittenInTheLocale) {
    constexpr double now = 1'796'538'420 + 3 * 3600;  // booted 2026-12-06 06:27 UTC
    EXPECT_EQ(withPlainSpaces(formatBootTime(3 * 3600, now, "en_US.UTF-8", "UTC")),
              "Dec 6, 2026, 6:27 AM");
    std::string german = withPlainSpaces(formatBootTime(3 * 3600, now, "de_DE.UTF-8", "UTC"));
    EXPECT_NE(german.find("06.12.2026"), std::string::npos) << german;
    EXPECT_NE(german.find("06:27"), std::string::npos) << german;
    std::string tokyo = withPlainSpaces(formatBootTime(3 * 3600, now, "en_US", "Asia/Tokyo"));
    EXPECT_NE(tokyo.find("3:27 PM"), std::string::npos) << tokyo;
    // Formats are kept between calls: each locale and zone must still get its own.
    EXPECT_EQ(withPlainSpaces(formatBootTime(3 * 3600, now, "en_US", "UTC")),
              "Dec 6, 2026, 6:27 AM");
    EXPECT_EQ(withPlainSpaces(formatBootTime(3 * 3600, now, "de_DE.UTF-8", "UTC")), german);

    for (double seconds : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(formatBootTime(seconds, now, "en_US", "UTC"), "—") << seconds;
    }
}

}  // namespace
}  // namespace glintdeck
