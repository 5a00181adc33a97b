#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "samplers/executor.h"
#include "samplers/hand_over_alarm.h"

namespace glintdeck {

// Serial queues multiplexed over a few worker threads. One worker at a time sleeps until the
// earliest timer deadline; repeating timers tick on one grid (TickGrid), and timers due
// within a couple of milliseconds of each other fire together, so samplers sharing a period wake
// the process once per period rather than once each. That worker runs the ticks that fell due;
// the others look in a couple of milliseconds later (when a HandOverAlarm rings, or after every
// deadline without one) and take what is still waiting, so a slow or stuck tick holds back no
// other queue for long and never stops the timers. What ticks post to a main thread wakes it
// when a worker runs out of work (see DeferredWakes): once per period, after the last sample.
class ThreadPoolExecutor final : public Executor {
  public:
    // Without an alarm the other workers look in a couple of milliseconds after every deadline;
    // with one they sleep until it rings.
    explicit ThreadPoolExecutor(std::unique_ptr<HandOverAlarm> alarm = nullptr,
                                int threadCount = 2);
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
