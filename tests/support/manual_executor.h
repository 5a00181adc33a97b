#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "samplers/executor.h"

namespace glintdeck {

// An executor for tests: virtual time, and every task runs on the test's own thread when the
// test says so, so timer behaviour is checked without sleeping.
class ManualExecutor final : public Executor {
  public:
    ManualExecutor();
    ~ManualExecutor() override;

    [[nodiscard]] std::shared_ptr<SerialQueue> makeQueue(std::string label) override;

    // Runs queued tasks (and timers due now) until none is left. Returns how many ran.
    int runUntilIdle();

    // Moves virtual time forward, firing timers in deadline order and running their tasks.
    void advance(double seconds);

    [[nodiscard]] double now() const;
    [[nodiscard]] std::vector<std::string> queueLabels() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace glintdeck
