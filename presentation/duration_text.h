#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// Compact time since boot, two units at most, no leading zeros: "42s", "7m 3s", "5h 12m",
// "3d 4h". Seconds are truncated toward zero; a negative or non-finite duration counts as 0.
[[nodiscard]] std::string formatUptime(double seconds);

// The date and time of boot, `seconds` before `nowSeconds` (seconds since 1970), in the medium
// date and short time style of the locale: "Dec 6, 2026, 6:27 AM" in en_US. The locale is a
// POSIX or ICU name ("de_DE.UTF-8", "de_DE"); empty means ICU's default for this process. The time
// zone is an Olson id; empty means the system's. A duration that is not above 0 gives "—".
[[nodiscard]] std::string formatBootTime(double seconds, double nowSeconds,
                                         std::string_view localeName,
                                         std::string_view timeZoneId = {});

// Battery time as hours and two-digit minutes ("2:05"), or "—" without a positive figure.
[[nodiscard]] std::string batteryTimeText(std::optional<int64_t> minutesRemaining);

}  // namespace glintdeck
