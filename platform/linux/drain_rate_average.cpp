#include "platform/linux/drain_rate_average.h"

#include <algorithm>
#include <cmath>

namespace glintdeck {

void DrainRateAverage::add(double watts, double now) {
    if (!average_) {
        average_ = watts;
    } else {
        double elapsed = std::max(0.0, now - lastTime_);
        double weight = 1 - std::exp(-elapsed / timeConstant_);
        *average_ += weight * (watts - *average_);
    }
    lastTime_ = now;
}

void DrainRateAverage::reset() { average_.reset(); }

}  // namespace glintdeck
