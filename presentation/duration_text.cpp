#include "presentation/duration_text.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

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

// Building a DateFormat loads the locale's patterns and costs tens of microseconds, far more than
// formatting with it; the uptime tile asks on every render, so formats are kept per locale and
// zone. ICU formats are not safe to share between threads, hence the lock.
std::mutex& bootFormatsMutex() {
    static std::mutex mutex;
    return mutex;
}

icu::DateFormat* bootFormat(std::string_view localeName, std::string_view timeZoneId) {
    using Key = std::pair<std::string, std::string>;
    // Never destroyed: a render during exit must not find it gone.
    static auto* formats = new std::map<Key, std::unique_ptr<icu::DateFormat>>();
    // The default locale is resolved now, so a later change of it is not answered from the cache.
    Key key{localeName.empty() ? std::string(icu::Locale::getDefault().getName())
                               : std::string(localeName),
            std::string(timeZoneId)};
    if (auto found = formats->find(key); found != formats->end()) return found->second.get();

    // createCanonical turns POSIX names ("de_DE.UTF-8", "fr_FR@euro") into ICU ones.
    icu::Locale locale = localeName.empty()
                             ? icu::Locale::getDefault()
                             : icu::Locale::createCanonical(std::string(localeName).c_str());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icu::DateFormat::kMedium, icu::DateFormat::kShort, locale));
    if (format && !timeZoneId.empty()) {
        format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
            icu::StringPiece(timeZoneId.data(), static_cast<int32_t>(timeZoneId.size())))));
    }
    // A handful of names in practice; the bound only keeps odd callers from growing it forever.
    if (formats->size() >= 16) formats->clear();
    // A failed build is remembered too, so it is not retried on every render.
    return formats->emplace(std::move(key), std::move(format)).first->second.get();
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
    std::lock_guard lock(bootFormatsMutex());
    icu::DateFormat* format = bootFormat(localeName, timeZoneId);
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
