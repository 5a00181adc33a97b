#pragma once

#include <string_view>

namespace glintdeck {

// The widest text each changing tile value can take; a tile reserves the width of its widest
// text so the strip never resizes while it shows. Digits are drawn in equal-width cells, so
// eights stand for any digits. Power, fans, uptime and load get generous room: a desktop GPU
// alone draws 300 W, server fans pass 9 999 rpm, machines stay up past 99 days and big ones load
// past 99.99. A value that still outgrows its text widens its tile rather than being cut.
inline constexpr std::string_view kWidestPercent = "100%";
inline constexpr std::string_view kWidestByteText = "888,88 GB";
inline constexpr std::string_view kWidestRate = "888 MB/s";
inline constexpr std::string_view kWidestPower = "888·888 W";
inline constexpr std::string_view kWidestFanSpeed = "88888 rpm";
inline constexpr std::string_view kWidestThermalState = "Critical";
inline constexpr std::string_view kWidestLoadAverage = "888.88";
inline constexpr std::string_view kWidestUptime = "888d 88h";

}  // namespace glintdeck
