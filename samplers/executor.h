#pragma once

#include <functional>
#include <memory>
#include <string>

namespace glintdeck {

// A repeating timer on a serial queue. cancel() stops future ticks and returns at once: it never
// waits for a tick that is running, and a tick that has not begun will not run. Dropping the
// handle cancels the timer.
class RepeatingTimer {
  public:
    virtual ~RepeatingTimer() = default;
    virtual void cancel() = 0;
};

// Tasks of one queue run one at a time, in order; tasks of different queues may run in parallel.
// A queue is a handle: it stays valid on any thread and after its executor shut down (tasks
// posted then are dropped).
class SerialQueue {
  public:
    using Task = std::function<void()>;
    virtual ~SerialQueue() = default;

    [[nodiscard]] virtual const std::string& label() const = 0;
    virtual void async(Task task) = 0;
    virtual void asyncAfter(double seconds, Task task) = 0;

    // First tick at once, then every period seconds. A tick that runs late is not repeated
    // to catch up. An executor may put the second tick up to a period later, so that it ticks
    // together with the executor's other timers.
    [[nodiscard]] virtual std::unique_ptr<RepeatingTimer> scheduleRepeating(double periodSeconds,
                                                                            Task handler) = 0;
};

// Runs serial queues on threads the application owns and joins at shutdown.
class Executor {
  public:
    virtual ~Executor() = default;
    [[nodiscard]] virtual std::shared_ptr<SerialQueue> makeQueue(std::string label) = 0;
};

}  // namespace glintdeck
