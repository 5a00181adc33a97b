#pragma once

#include "core/clock.h"
#include "tests/support/manual_executor.h"

namespace glintdeck {

// A clock that reads the manual executor's virtual time, so time-weighted readings advance
// exactly as the test moves the executor.
class ExecutorClock final : public Clock {
  public:
    explicit ExecutorClock(const ManualExecutor& executor) : executor_(executor) {}
    [[nodiscard]] double wallSeconds() const override { return 1'700'000'000 + executor_.now(); }
    [[nodiscard]] double secondsSinceBoot() const override { return 1000 + executor_.now(); }

  private:
    const ManualExecutor& executor_;
};

// A clock the test sets by hand.
class ManualClock final : public Clock {
  public:
    [[nodiscard]] double wallSeconds() const override { return 1'700'000'000 + now; }
    [[nodiscard]] double secondsSinceBoot() const override { return 1000 + now; }

    double now = 0;
};

}  // namespace glintdeck
