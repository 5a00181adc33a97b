#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glintdeck {

// Byte counts and byte rates as short texts with units B, KB, MB, GB, TB, PB, EB, in the user's
// decimal separator (passed in; no digit grouping).
//
// Sizes show no fraction for B and KB, one digit for MB and two from GB on, trailing zeros
// dropped ("16 GB", "1,5 GB", "1,23 TB"). The value is rounded first and the unit chosen after:
// whatever would show 1000 or more of a unit moves to the next one, so no size text has four
// integer digits and every one fits "888,88 GB".
//
// Rates show one fraction digit below 10 of the unit and none from 10 on, again decided after
// rounding, so every rate fits "888 MB/s".

// Memory sizes, 1 KB = 1024 bytes; zero is "Zero KB".
[[nodiscard]] std::string memoryByteText(uint64_t bytes, std::string_view decimalSeparator);

// File and volume sizes, 1 KB = 1000 bytes; zero is "Zero KB".
[[nodiscard]] std::string fileByteText(uint64_t bytes, std::string_view decimalSeparator);

// A process's resident memory as the memory text, but zero written with a digit ("0 B"). The
// value is truncated toward zero; a negative or non-finite value counts as 0.
[[nodiscard]] std::string processMemoryText(double bytes, std::string_view decimalSeparator);

// Bytes per second, 1 KB = 1000 bytes, then "/s": "0 B/s", "512 B/s", "9,5 MB/s", "10 MB/s".
// The rate is truncated toward zero; a negative or non-finite rate counts as 0.
[[nodiscard]] std::string formatRate(double bytesPerSecond, std::string_view decimalSeparator);

}  // namespace glintdeck
