#pragma once

#include <array>
#include <cstddef>

namespace glintdeck {

// The conditions the program tells the user about while the strip is hidden, each with its own
// switch in the settings.
enum class AlertWatch { overheating, runawayProcess, memoryPressure };

inline constexpr std::array<AlertWatch, 3> kAllAlertWatches = {
    AlertWatch::overheating, AlertWatch::runawayProcess, AlertWatch::memoryPressure};

[[nodiscard]] constexpr size_t watchIndex(AlertWatch watch) { return static_cast<size_t>(watch); }

}  // namespace glintdeck
