#include "presentation/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace glintdeck {

int64_t roundedInteger(double x) {
    if (!std::isfinite(x)) return 0;
    // The largest doubles that still convert into int64_t without overflow.
    constexpr double kLimit = 9.2e18;
    return std::llround(std::clamp(x, -kLimit, kLimit));
}

void appendInteger(std::string& text, int64_t value) {
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, end);
}

std::string fixedText(double x, int precision) {
    // The largest double has 309 integer digits; with sign, point and fraction this fits.
    char buffer[400];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, precision);
    if (error != std::errc{}) return "0";
    return std::string(buffer, end);
}

std::string percentText(double percent) {
    std::string text;
    appendInteger(text, roundedInteger(percent));
    text += '%';
    return text;
}

std::string temperatureText(double celsius) { return fixedText(celsius, 0) + "°C"; }

std::string wattsText(double watts) { return fixedText(watts, 1) + " W"; }

std::string twoDecimalText(double x) { return fixedText(x, 2); }

std::string processCPUText(double percent, std::string_view decimalSeparator) {
    std::string text = fixedText(std::isfinite(percent) ? percent : 0, 1);
    size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    text += '%';
    return text;
}

std::string powerValueText(double cpuWatts, double gpuWatts) {
    std::string text;
    appendInteger(text, roundedInteger(cpuWatts));
    text += "·";
    appendInteger(text, roundedInteger(gpuWatts));
    text += " W";
    return text;
}

}  // namespace glintdeck
