#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "samplers/executor.h"

namespace glintdeck {

// Serial queues multiplexed over a few worker threads. Idle workers sleep until the earliest
// timer deadline, fire what fell due and take the queues that have work, so a slow or stuck tick
// holds back no other queue and never stops the timers. Repeating timers tick on one grid
// (TickGrid) and timers due within a couple of milliseconds of each other fire together: samplers
// sharing a period wake the process once per period, not once each. What ticks post to a main
// thread wakes it once the workers have run out of work (see DeferredWakes): once per period,
// after the last sample.
class ThreadPoolExecutor final : public Executor {
  public:
    explicit ThreadPoolExecutor(int threadCount = 2);
    ~ThreadPoolExecutor() override;

    ThreadPoolExecutor(const ThreadPoolExecutor&) = delete;
    ThreadPoolExecutor& operator=(const ThreadPoolExecutor&) = delete;

    [[nodiscard]] std::shared_ptr<SerialQueue> makeQueue(std::string label) override;

    // Drops pending tasks and timers, waits for running tasks to return and joins the workers.
    // Called on the main thread once every sampler has stopped; idempotent.
    void shutdown();

    struct Core;

  private:
    std::shared_ptr<Core> core_;
    std::vector<std::thread> workers_;
};

}  // namespace glintdeck
