#pragma once

#include <optional>

#include "core/stat_kind.h"

namespace glintdeck {

// The load band of a tile, with hysteresis: a band is entered at a higher load than the one at
// which it is left (calm to busy at 55, back below 45; busy to hot at 85, back below 75), so a
// load hovering at a threshold does not make the tile flicker. Without a previous band the
// middle thresholds 50 and 80 apply.
//
// A battery's load is its charge, inverted here so that a nearly empty battery is hot. A load
// that is not a number keeps the previous band (calm when there is none). The caller keeps the
// previous band per kind and stores the result back.
[[nodiscard]] Band classifyBand(StatKind kind, double loadPercent, std::optional<Band> previous);

}  // namespace glintdeck
