#include "core/task_queue_main_thread.h"

namespace glintdeck {

void TaskQueueMainThread::post(Task task) {
    DeferredWakes* deferring = DeferredWakes::current();
    Wake before = Wake::none;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        before = wakeState_;
        // A wake put off for a while must not hold back a task posted from elsewhere.
        if (before != Wake::sent) wakeState_ = deferring ? Wake::deferred : Wake::sent;
    }
    if (before == Wake::sent) return;
    if (!deferring) {
        wake();
    } else if (before == Wake::none) {
        deferring->defer(*this);
    }
}

void TaskQueueMainThread::wakeDeferred() {
    {
        std::lock_guard lock(mutex_);
        if (wakeState_ != Wake::deferred) return;
        wakeState_ = Wake::sent;
    }
    wake();
}

void TaskQueueMainThread::wake() {
    if (!wake_) {
        queued_.notify_one();
        return;
    }
    // Outside the lock: waking an event loop is a system call and may allocate.
    if (!wake_()) {
        std::lock_guard lock(mutex_);
        wakeState_ = Wake::none;
    }
}

int TaskQueueMainThread::runPending() {
    {
        // Cleared before the queue is read: a task posted from here on is either run below or
        // wakes the owner again, never left waiting for a wake that already happened.
        std::lock_guard lock(mutex_);
        wakeState_ = Wake::none;
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
