#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glintdeck {

// Texts of single numbers. None of them reads the process locale: the fixed formats always
// write a point (the GUI sets the locale from the environment, after which printf would write a
// comma under de_DE), and where the user's decimal separator belongs, the caller passes it.

// The nearest integer, halves away from zero. A non-finite input counts as 0, and values beyond
// the 64-bit range are clamped to it (converting them would be undefined).
[[nodiscard]] int64_t roundedInteger(double x);

// The nearest integer (halves away from zero) followed by "%": 37.5 gives "38%".
[[nodiscard]] std::string percentText(double percent);

// printf "%.0f°C", always with a point.
[[nodiscard]] std::string temperatureText(double celsius);

// printf "%.1f W", always with a point (power detail rows).
[[nodiscard]] std::string wattsText(double watts);

// printf "%.2f", always with a point (load averages).
[[nodiscard]] std::string twoDecimalText(double x);

// A process's CPU share with one fraction digit in the user's decimal separator, then "%":
// "12,3%". A non-finite share is written as zero.
[[nodiscard]] std::string processCPUText(double percent, std::string_view decimalSeparator);

// The power tile: CPU and GPU watts, each rounded halves away from zero, joined by a middle dot:
// 4.6 and 0.4 give "5·0 W".
[[nodiscard]] std::string powerValueText(double cpuWatts, double gpuWatts);

// Appends the decimal digits of an integer (no grouping, no locale).
void appendInteger(std::string& text, int64_t value);

// printf "%.<precision>f" of x, always with a point; "nan" and "inf" as printf writes them.
[[nodiscard]] std::string fixedText(double x, int precision);

}  // namespace glintdeck
