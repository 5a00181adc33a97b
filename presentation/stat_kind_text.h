#pragma once

#include <string_view>

#include "core/samples.h"
#include "core/stat_kind.h"

namespace glintdeck {

// How a kind is named and drawn wherever it appears. Symbol names are those of the icon table
// the views map to glyphs.

// "CPU", "Memory", "Disk", "Network", "Battery", "GPU", "Fans", "Power", "Temperature",
// "Load Avg", "Uptime".
[[nodiscard]] std::string_view title(StatKind kind);

// The kind's own icon, as the settings list shows it. A battery tile shows its charge instead
// (batterySymbol); every other tile shows this one.
[[nodiscard]] std::string_view symbolName(StatKind kind);

// The battery tile's icon: a bolt while charging, else the charge in quarters (below 13% empty,
// below 38% a quarter, ... from 88% full).
[[nodiscard]] std::string_view batterySymbol(const BatterySample& battery);

// "Nominal", "Fair", "Serious", "Critical"; a raw value outside 0-3 reads "Nominal".
[[nodiscard]] std::string_view thermalStateName(ThermalState state);

}  // namespace glintdeck
