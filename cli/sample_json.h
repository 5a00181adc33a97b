#pragma once

#include <nlohmann/json.hpp>

#include "core/stats_store.h"

namespace glintdeck {

// The store's latest samples as JSON: one object per kind named by its raw value, plus
// "topProcesses", each holding the record's fields under their own names in base units
// (percent, bytes, bytes per second, watts, °C, seconds). Absent optionals are null.
[[nodiscard]] nlohmann::json samplesJson(const StatsStore& store);

}  // namespace glintdeck
