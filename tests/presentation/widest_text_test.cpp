#include "presentation/widest_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>

#include "presentation/byte_text.h"
#include "presentation/duration_text.h"
#include "presentation/fans.h"
#include "presentation/number_text.h"

namespace glintdeck {
namespace {

// The shapes a pattern allows: alternatives split by '|', and "8{a,b}" standing for a to b
// eights. (std::regex would do, but GCC 12 warns inside it at -O1, which breaks -Werror.)
using Shapes = std::set<std::string>;
Shapes shapes(std::string_view pattern) {
    Shapes result;
    for (size_t start = 0, bar = 0; bar != std::string_view::npos; start = bar + 1) {
        bar = pattern.find('|', start);
        std::string_view alternative = pattern.substr(start, bar - start);
        size_t brace = alternative.find('{');
        if (brace == std::string_view::npos) {
            result.emplace(alternative);
            continue;
        }
        size_t close = alternative.find('}', brace);
        std::string head(alternative.substr(0, brace - 1));  // before the repeated 8
        for (char n = alternative[brace + 1]; n <= alternative[brace + 3]; ++n) {
            std::string eights(n - '0', '8');
            for (const std::string& tail : shapes(alternative.substr(close + 1))) {
                result.insert(head + eights + tail);
            }
        }
    }
    return result;
}

// Every changing text must fit the widest text its tile reserves. Digits sit in cells as wide
// as an 8, so a text fits when it has no more characters and no more digits than its widest
// text; the shape (digits written as 8) must also be one of those its kind may take.
::testing::AssertionResult fits(const std::string& text, std::string_view widest,
                                const Shapes& allowed) {
    auto count = [](std::string_view s, auto predicate) {
        return std::count_if(s.begin(), s.end(), predicate);
    };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto isCharacter = [](char c) { return (c & 0xC0) != 0x80; };  // UTF-8 lead bytes
    bool wider = count(text, isCharacter) > count(widest, isCharacter) ||
                 count(text, isDigit) > count(widest, isDigit);
    std::string shape = text;
    std::replace_if(shape.begin(), shape.end(), isDigit, '8');
    if (!wider && allowed.contains(shape)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << text << "\" does not fit \"" << widest << '"';
}

// Bytes 0 to 10^15: three-digit mantissas at every power of ten, and the neighbours of every
// unit boundary in both bases, where rounding moves a value on to the next unit.
std::vector<uint64_t> byteCounts() {
    std::vector<uint64_t> counts{0, 1'000'000'000'000'000};
    for (uint64_t power = 1; power <= 10'000'000'000'000; power *= 10) {
        for (uint64_t mantissa = 100; mantissa <= 999; ++mantissa) {
            counts.push_back(mantissa * power);
        }
    }
    for (uint64_t base : {1000, 1024}) {
        for (uint64_t unit = 1; unit <= 1'000'000'000'000'000 / base; unit *= base) {
            for (uint64_t k = 995; k <= base + 1; ++k) {
                for (int delta : {-1, 0, 1}) counts.push_back(k * unit + delta);
            }
        }
    }
    return counts;
}

// A size or rate text read back into bytes must lie within half a step of its last digit
// (a hair more: 8,3 is not exact in binary), which catches a wrong unit, base or rounding.
::testing::AssertionResult readsBack(const std::string& text, double bytes, double base,
                                     bool rate) {
    static const std::array<std::string, 7> units{"B", "KB", "MB", "GB", "TB", "PB", "EB"};
    if (bytes == 0) return ::testing::AssertionSuccess();
    size_t space = text.find(' ');
    std::string number = text.substr(0, space);
    std::replace(number.begin(), number.end(), ',', '.');
    auto unit =
        std::find(units.begin(), units.end(), text.substr(space + 1, text.find('/') - space - 1)) -
        units.begin();
    double value = std::stod(number);
    int fractionDigits = rate ? (unit > 0 && value < 10) : unit <= 1 ? 0 : unit == 2 ? 1 : 2;
    double unitBytes = std::pow(base, static_cast<double>(unit));
    if (std::abs(value * unitBytes - bytes) <=
        0.5000001 * unitBytes / std::pow(10, fractionDigits)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << '"' << text << "\" is not " << bytes << " bytes";
}

TEST(WidestTextTest, ByteTextsFitAndReadBack) {
    Shapes size = shapes("Zero KB|8{1,3} B|8{1,3} KB|8{1,3} MB|8{1,3},8 MB");
    Shapes rate = shapes("8{1,3} B/s");
    for (std::string unit : {"KB", "MB", "GB", "TB", "PB", "EB"}) {
        if (unit != "KB" && unit != "MB")
            size.merge(shapes("8{1,3} " + unit + "|8{1,3},8{1,2} " + unit));
        rate.merge(shapes("8{1,3} " + unit + "/s|8,8 " + unit + "/s"));
    }
    for (uint64_t bytes : byteCounts()) {
        std::string memory = memoryByteText(bytes, ","), file = fileByteText(bytes, ",");
        ASSERT_TRUE(fits(memory, kWidestByteText, size));
        ASSERT_TRUE(fits(file, kWidestByteText, size));
        ASSERT_TRUE(readsBack(memory, bytes, 1024, false));
        ASSERT_TRUE(readsBack(file, bytes, 1000, false));
        std::string perSecond = formatRate(bytes + 0.5, ",");
        ASSERT_TRUE(fits(perSecond, kWidestRate, rate));
        ASSERT_TRUE(readsBack(perSecond, bytes, 1000, true));
    }
}

TEST(WidestTextTest, PercentsLoadsPowerFansAndUptimesFit) {
    const Shapes percent = shapes("8{1,3}%"), load = shapes("8{1,3}.88"),
                 power = shapes("8{1,3}·8{1,3} W"), rpm = shapes("8{1,5} rpm"),
                 uptime = shapes("8{1,2}s|8{1,2}m 8{1,2}s|8{1,2}h 8{1,2}m|8{1,3}d 8{1,2}h");
    for (int i = 0; i <= 20'000; ++i) {
        ASSERT_TRUE(fits(percentText(i / 200.0), kWidestPercent, percent));
        ASSERT_TRUE(fits(twoDecimalText(i / 20.0025), kWidestLoadAverage, load));
    }
    for (int cpu = 0; cpu <= 9994; cpu += 7) {
        for (int gpu = 0; gpu <= 9994; gpu += 499) {
            ASSERT_TRUE(fits(powerValueText(cpu / 10.0, gpu / 10.0), kWidestPower, power));
        }
    }
    for (int tenths = 0; tenths <= 999'994; tenths += 37) {
        std::vector<FanSample::Fan> fans{{.current = tenths / 10.0}};
        ASSERT_TRUE(fits(fanSpeedText(fans), kWidestFanSpeed, rpm));
    }
    constexpr double kLast = 999 * 86400.0 + 86399;
    for (double seconds = 0; seconds < kLast; seconds += seconds < 7200 ? 1 : 9973) {
        ASSERT_TRUE(fits(formatUptime(seconds), kWidestUptime, uptime));
    }
    ASSERT_TRUE(fits(formatUptime(kLast), kWidestUptime, uptime));
}

}  // namespace
}  // namespace glintdeck
