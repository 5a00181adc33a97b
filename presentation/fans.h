#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/samples.h"

namespace glintdeck {

// What the fan tile shows of several fans: the fastest one.

// The fan with the greatest current speed; the first of equally fast fans; none for no fans.
[[nodiscard]] std::optional<FanSample::Fan> fastestFan(std::span<const FanSample::Fan> fans);

// Where the fastest fan runs between its minimum and maximum, 0 to 100. A fan without limits
// (maximum not above minimum) gives 0 rather than a division by zero.
[[nodiscard]] double fanLoadPercent(std::span<const FanSample::Fan> fans);

// The fastest fan's speed rounded halves away from zero: "2500 rpm"; "0 rpm" without fans.
[[nodiscard]] std::string fanSpeedText(std::span<const FanSample::Fan> fans);

// One fan's detail row: "2400 rpm (1200–5800)".
[[nodiscard]] std::string fanDetailText(const FanSample::Fan& fan);

}  // namespace glintdeck
