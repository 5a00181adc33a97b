#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "core/deferred_wakes.h"
#include "core/main_thread.h"

namespace glintdeck {

// Posted tasks wait in a queue until the owning thread runs them. Tests drain it explicitly
// with runPending(); console programs loop on runNext(). A thread that sleeps in an event loop
// of its own passes a wake function instead. Either way a burst of tasks costs the owner one
// wakeup, not one each; a burst posted inside a DeferredWakes scope wakes it when the poster
// flushes, the rest at their first task, even while a deferred wake waits.
class TaskQueueMainThread final : public MainThread {
  public:
    TaskQueueMainThread() = default;
    // wake is called on the posting (or flushing) thread when a task arrives and no wake is
    // outstanding since the last runPending(); it arranges for runPending() to be called on the
    // owning thread and says whether it could (when it could not, the next post calls it again).
    explicit TaskQueueMainThread(std::function<bool()> wake) : wake_(std::move(wake)) {}

    void post(Task task) override;

    // Runs every task posted so far, including tasks those tasks post. Returns how many ran.
    int runPending();

    // Waits until a task is queued or the timeout passes, then runs what is queued.
    // Returns how many tasks ran.
    int runNext(std::chrono::milliseconds timeout);

  private:
    friend class DeferredWakes;
    // The wake a DeferredWakes scope recorded, unless the owner was woken or ran the tasks since.
    void wakeDeferred();
    void wake();

    enum class Wake { none, deferred, sent };  // since the last runPending()

    std::function<bool()> wake_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<Task> tasks_;
    Wake wakeState_ = Wake::none;  // guarded by mutex_
};

}  // namespace glintdeck
