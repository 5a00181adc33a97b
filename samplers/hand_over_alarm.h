#pragma once

#include <chrono>
#include <functional>

namespace glintdeck {

// Tells the executor's idle workers that the ticks that fell due have kept another worker busy
// too long. A kernel timer: setting and clearing it wakes no thread, so the usual period, whose
// ticks finish in well under the hand-over, costs one wakeup of one worker and no more.
class HandOverAlarm {
  public:
    virtual ~HandOverAlarm() = default;

    // Once, before set(): ring runs on a thread of the alarm's own whenever a set time passes.
    virtual void start(std::function<void()> ring) = 0;
    // Rings at `when` unless set again or cleared first; a ring already under way may still run.
    virtual void set(std::chrono::steady_clock::time_point when) = 0;
    virtual void clear() = 0;
};

}  // namespace glintdeck
