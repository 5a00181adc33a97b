#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "samplers/executor.h"

namespace glintdeck {

// Serial queues multiplexed over a few worker threads. One idle worker keeps time: it sleeps until
// the earliest timer deadline, fires what fell due and takes the queues that have work. The
// others stand by and step in only for tasks posted from outside, or once the timers are overdue
// by the standby delay, when the worker keeping time is stuck in a task: a stuck tick holds the
// ticks due with it back that long, once, and never stops the timers, while a tick wakes one
// thread, not every idle one. Repeating timers tick on one grid (TickGrid) and timers due within
// a couple of milliseconds of each other fire together: samplers sharing a period wake the
// process once per period, not once each. What ticks post to a main thread wakes it once the
// workers have run out of work (see DeferredWakes): once per period, after the last sample, or
// less often while nobody looks at the samples (setDeliverySpacing).
class ThreadPoolExecutor final : public Executor {
  public:
    static constexpr double kStandbyDelay = 5.5;  // seconds; off the whole seconds of ticks

    explicit ThreadPoolExecutor(int threadCount = 2, double standbyDelaySeconds = kStandbyDelay);
    ~ThreadPoolExecutor() override;

    ThreadPoolExecutor(const ThreadPoolExecutor&) = delete;
    ThreadPoolExecutor& operator=(const ThreadPoolExecutor&) = delete;

    [[nodiscard]] std::shared_ptr<SerialQueue> makeQueue(std::string label) override;

    // What ticks post to a main thread reaches it at most once per `seconds`, all of it in one
    // wakeup, and at the latest `seconds` after the previous delivery. Zero, the start, delivers
    // at the end of each burst. Setting it delivers what waits. Any thread.
    void setDeliverySpacing(double seconds);

    // Drops pending tasks and timers, waits for running tasks to return and joins the workers.
    // Called on the main thread once every sampler has stopped; idempotent.
    void shutdown();

    struct Core;

  private:
    std::shared_ptr<Core> core_;
    std::vector<std::thread> workers_;
};

}  // namespace glintdeck
