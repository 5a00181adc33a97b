#include "presentation/duration_text.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>
#include <string>

#include "presentation/number_text.h"

namespace glintdeck {
namespace {

constexpr std::string_view kDash = "—";

// Truncated toward zero; negative and non-finite durations are 0, and durations past the 64-bit
// range are clamped rather than converted (which would be undefined).
int64_t wholeSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    constexpr double kLimit = 9.2e18;
    return seconds >= kLimit ? static_cast<int64_t>(kLimit) : static_cast<int64_t>(seconds);
}

void appendAmount(std::string& text, int64_t amount, std::string_view unit) {
    appendInteger(text, amount);
    text += unit;
}

// Building a date formatter loads locale data and a pattern generator, many times the cost of
// formatting; built on every refresh of the strip it was the largest part of the HUD's time
// while shown. Each thread keeps the one it built last, for the locale and zone it was built for.
// Null when ICU could not build one.
icu::DateFormat* bootTimeFormat(std::string_view localeName, std::string_view timeZoneId) {
    struct Cached {
        bool built = false;
        std::string localeName;
        std::string timeZoneId;
        std::unique_ptr<icu::DateFormat> format;
    };
    thread_local Cached cached;
    if (cached.built && cached.localeName == localeName && cached.timeZoneId == timeZoneId) {
        return cached.format.get();
    }
    // createCanonical turns POSIX names ("de_DE.UTF-8", "fr_FR@euro") into ICU ones.
    icu::Locale locale = localeName.empty()
                             ? icu::Locale::getDefault()
                             : icu::Locale::createCanonical(std::string(localeName).c_str());
    cached.format.reset(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium,
                                                                icu::DateFormat::kShort, locale));
    if (cached.format && !timeZoneId.empty()) {
        cached.format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
            icu::StringPiece(timeZoneId.data(), static_cast<int32_t>(timeZoneId.size())))));
    }
    cached.built = true;
    cached.localeName = localeName;
    cached.timeZoneId = timeZoneId;
    return cached.format.get();
}

}  // namespace

std::string formatUptime(double seconds) {
    int64_t n = wholeSeconds(seconds);
    int64_t days = n / 86400;
    int64_t hours = n % 86400 / 3600;
    int64_t minutes = n % 3600 / 60;
    int64_t secs = n % 60;
    std::string text;
    if (n >= 86400) {
        appendAmount(text, days, "d ");
        appendAmount(text, hours, "h");
    } else if (n >= 3600) {
        appendAmount(text, hours, "h ");
        appendAmount(text, minutes, "m");
    } else if (n >= 60) {
        appendAmount(text, minutes, "m ");
        appendAmount(text, secs, "s");
    } else {
        appendAmount(text, secs, "s");
    }
    return text;
}

std::string formatBootTime(double seconds, double nowSeconds, std::string_view localeName,
                           std::string_view timeZoneId) {
    if (!(seconds > 0) || !std::isfinite(seconds) || !std::isfinite(nowSeconds)) {
        return std::string(kDash);
    }
    icu::DateFormat* format = bootTimeFormat(localeName, timeZoneId);
    if (!format) return std::string(kDash);
    icu::UnicodeString text;
    format->format((nowSeconds - seconds) * 1000.0, text);  // ICU dates are milliseconds
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

std::string batteryTimeText(std::optional<int64_t> minutesRemaining) {
    if (!minutesRemaining || *minutesRemaining <= 0) return std::string(kDash);
    int64_t minutes = *minutesRemaining % 60;
    std::string text;
    appendInteger(text, *minutesRemaining / 60);
    text += ':';
    if (minutes < 10) text += '0';
    appendInteger(text, minutes);
    return text;
}

}  // namespace glintdeck
