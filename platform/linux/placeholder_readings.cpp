#include "platform/linux/placeholder_readings.h"

#include <cmath>

namespace glintdeck {

bool PlaceholderWatch::isPlaceholder(size_t input, double celsius, double now) {
    if (input >= inputs_.size()) inputs_.resize(input + 1);
    auto hundredths = static_cast<int64_t>(std::llround(celsius * 100));
    std::optional<History>& history = inputs_[input];
    if (!history) {
        history = History{.hundredths = hundredths, .since = now};
    } else if (!history->moved && hundredths != history->hundredths) {
        history->moved = true;
        anyMoved_ = true;
    }
    // Only a moving neighbour shows the machine is live: on a machine where nothing moves
    // (idle, or a virtual one) a still input proves nothing.
    return !history->moved && anyMoved_ && now - history->since >= kWatchSeconds;
}

}  // namespace glintdeck
