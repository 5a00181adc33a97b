#pragma once

#include <mutex>
#include <vector>

namespace glintdeck {

class TaskQueueMainThread;

// Wakes that a thread posting a burst of tasks puts off until the burst is over. While a Scope
// is open on a thread, a TaskQueueMainThread that a task is posted to from that thread records
// its wake here instead of waking its owner, and flush() performs the recorded wakes. The
// executor opens a scope on each worker and flushes when the last worker of a burst runs out of
// work, so the samples that fall due together reach the main thread in one wakeup, as soon as
// the last of them is posted. A main thread must outlive every flush of the wakes it recorded.
class DeferredWakes final {
  public:
    class Scope final {
      public:
        explicit Scope(DeferredWakes& wakes);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        DeferredWakes* previous_;
    };

    DeferredWakes() = default;
    DeferredWakes(const DeferredWakes&) = delete;
    DeferredWakes& operator=(const DeferredWakes&) = delete;

    // The wakes of the scope open on the calling thread, or nullptr: posts then wake at once.
    [[nodiscard]] static DeferredWakes* current();

    void defer(TaskQueueMainThread& target);
    // Callable from any thread; wakes each recorded target once.
    void flush();

  private:
    std::mutex mutex_;
    std::vector<TaskQueueMainThread*> targets_;  // guarded by mutex_; no duplicates
};

}  // namespace glintdeck
