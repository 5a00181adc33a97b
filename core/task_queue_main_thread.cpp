#include "core/task_queue_main_thread.h"

namespace glintdeck {

void TaskQueueMainThread::post(Task task) {
    bool mustWake = false;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        mustWake = !wakeOutstanding_;
        wakeOutstanding_ = true;
    }
    if (!mustWake) return;
    if (DeferredWakes* deferred = DeferredWakes::current()) {
        deferred->defer(*this);
    } else {
        wake();
    }
}

void TaskQueueMainThread::wake() {
    if (!wake_) {
        queued_.notify_one();
        return;
    }
    // Outside the lock: waking an event loop is a system call and may allocate.
    if (!wake_()) {
        std::lock_guard lock(mutex_);
        wakeOutstanding_ = false;
    }
}

int TaskQueueMainThread::runPending() {
    {
        // Cleared before the queue is read: a task posted from here on is either run below or
        // wakes the owner again, never left waiting for a wake that already happened.
        std::lock_guard lock(mutex_);
        wakeOutstanding_ = false;
    }
    int count = 0;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty()) return count;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        ++count;
    }
}

int TaskQueueMainThread::runNext(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        queued_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
    }
    return runPending();
}

}  // namespace glintdeck
