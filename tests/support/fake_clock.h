#pragma once

#include "core/clock.h"

namespace glintdeck {

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
  public:
    double wallSeconds() const override { return 1.7e9 + now; }
    double secondsSinceBoot() const override { return now; }
    double now = 100;
};

}  // namespace glintdeck
