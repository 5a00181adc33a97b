#include "presentation/byte_text.h"

#include <array>
#include <cmath>
#include <limits>

#include "presentation/number_text.h"

namespace glintdeck {
namespace {

// uint64_t byte counts times 100 overflow 64 bits; 128 bits keep the rounding exact.
__extension__ typedef unsigned __int128 Wide;

constexpr std::array<std::string_view, 7> kUnits{"B", "KB", "MB", "GB", "TB", "PB", "EB"};
constexpr std::array<uint64_t, 3> kPowersOfTen{1, 10, 100};

// bytes / divisor rounded halves up to `digits` fraction digits, as a count of 10^-digits.
Wide roundScaled(uint64_t bytes, uint64_t divisor, int digits) {
    Wide scale = kPowersOfTen[digits];
    return (Wide{bytes} * scale * 2 + divisor) / (Wide{divisor} * 2);
}

// "<integer>[<separator><fraction>] <unit>" with trailing fraction zeros dropped.
std::string compose(Wide scaled, int digits, std::string_view separator, std::string_view unit) {
    uint64_t scale = kPowersOfTen[digits];
    std::string text;
    appendInteger(text, static_cast<int64_t>(scaled / scale));
    auto fraction = static_cast<uint64_t>(scaled % scale);
    if (fraction != 0) {
        std::string fractionDigits(digits, '0');
        for (int i = digits - 1; i >= 0; --i, fraction /= 10) {
            fractionDigits[i] = static_cast<char>('0' + fraction % 10);
        }
        fractionDigits.erase(fractionDigits.find_last_not_of('0') + 1);
        text += separator;
        text += fractionDigits;
    }
    text += ' ';
    text += unit;
    return text;
}

int sizeFractionDigits(size_t unit) { return unit <= 1 ? 0 : unit == 2 ? 1 : 2; }

std::string sizeText(uint64_t bytes, uint64_t base, std::string_view separator,
                     std::string_view zero) {
    if (bytes == 0) return std::string(zero);
    uint64_t divisor = 1;
    for (size_t unit = 0;; ++unit, divisor *= base) {
        int digits = sizeFractionDigits(unit);
        Wide scaled = roundScaled(bytes, divisor, digits);
        // 2^64 bytes are about 18 EB, so the last unit never reaches 1000.
        if (scaled < Wide{1000} * kPowersOfTen[digits] || unit + 1 == kUnits.size()) {
            return compose(scaled, digits, separator, kUnits[unit]);
        }
    }
}

// Truncated toward zero; negative, non-finite and out-of-range values never reach the integer
// conversion, where they would be undefined.
uint64_t wholeBytes(double bytes) {
    if (!std::isfinite(bytes) || bytes <= 0) return 0;
    if (bytes >= 18446744073709551616.0) return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(bytes);
}

}  // namespace

std::string memoryByteText(uint64_t bytes, std::string_view decimalSeparator) {
    return sizeText(bytes, 1024, decimalSeparator, "Zero KB");
}

std::string fileByteText(uint64_t bytes, std::string_view decimalSeparator) {
    return sizeText(bytes, 1000, decimalSeparator, "Zero KB");
}

std::string processMemoryText(double bytes, std::string_view decimalSeparator) {
    return sizeText(wholeBytes(bytes), 1024, decimalSeparator, "0 B");
}

std::string formatRate(double bytesPerSecond, std::string_view decimalSeparator) {
    uint64_t bytes = wholeBytes(bytesPerSecond);
    std::string text;
    if (bytes < 1000) {
        appendInteger(text, static_cast<int64_t>(bytes));
        return text + " B/s";
    }
    uint64_t divisor = 1000;
    for (size_t unit = 1;; ++unit, divisor *= 1000) {
        if (Wide tenths = roundScaled(bytes, divisor, 1); tenths < 100) {
            return compose(tenths, 1, decimalSeparator, kUnits[unit]) + "/s";
        }
        if (Wide whole = roundScaled(bytes, divisor, 0);
            whole < 1000 || unit + 1 == kUnits.size()) {
            return compose(whole, 0, decimalSeparator, kUnits[unit]) + "/s";
        }
    }
}

}  // namespace glintdeck
