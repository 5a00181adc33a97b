#pragma once

namespace glintdeck {

// Time as the samplers read it, injected so tests control it.
class Clock {
  public:
    virtual ~Clock() = default;

    // Wall-clock time in seconds since 1970.
    [[nodiscard]] virtual double wallSeconds() const = 0;

    // Seconds since boot, counting time spent suspended.
    [[nodiscard]] virtual double secondsSinceBoot() const = 0;
};

}  // namespace glintdeck
