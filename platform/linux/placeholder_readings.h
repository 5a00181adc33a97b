#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace glintdeck {

// Below this no live component of a running machine reads: a reading under it is a sensor
// that is absent or disconnected (-128 °C, 0 °C, 1 °C placeholders).
inline constexpr double kLowestLiveCelsius = 5;

// Watches a machine's temperature inputs for firmware placeholders: an input that has kept
// the same reading, to the hundredth of a degree, for a minute since the watch began while
// some other input moved is a constant (an ACPI zone stuck at 25.0 °C, a controller key stuck
// at 9 °C), not a component's temperature. An input counts again from its first move on.
class PlaceholderWatch final {
  public:
    static constexpr double kWatchSeconds = 60;

    // Records input's reading at time now (seconds, any clock that does not go back) and says
    // whether that input is a placeholder now.
    [[nodiscard]] bool isPlaceholder(size_t input, double celsius, double now);

  private:
    struct History {
        int64_t hundredths = 0;  // the first reading
        double since = 0;
        bool moved = false;
    };
    std::vector<std::optional<History>> inputs_;
    bool anyMoved_ = false;
};

}  // namespace glintdeck
