#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "core/main_thread.h"

namespace glintdeck {

// A main thread without a GUI event loop: posted tasks wait in a queue until the owning thread
// runs them. Tests drain it explicitly with runPending(); console programs loop on
// runNext().
class TaskQueueMainThread final : public MainThread {
  public:
    void post(Task task) override;

    // Runs every task posted so far, including tasks those tasks post. Returns how many ran.
    int runPending();

    // Waits until a task is queued or the timeout passes, then runs what is queued.
    // Returns how many tasks ran.
    int runNext(std::chrono::milliseconds timeout);

  private:
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<Task> tasks_;
};

}  // namespace glintdeck
