#include "core/deferred_wakes.h"

#include <algorithm>

#include "core/task_queue_main_thread.h"

namespace glintdeck {
namespace {

thread_local DeferredWakes* currentWakes = nullptr;

}  // namespace

DeferredWakes::Scope::Scope(DeferredWakes& wakes) : previous_(currentWakes) {
    currentWakes = &wakes;
}

DeferredWakes::Scope::~Scope() { currentWakes = previous_; }

DeferredWakes* DeferredWakes::current() { return currentWakes; }

void DeferredWakes::defer(TaskQueueMainThread& target) {
    std::lock_guard lock(mutex_);
    if (std::find(targets_.begin(), targets_.end(), &target) == targets_.end()) {
        targets_.push_back(&target);
    }
}

void DeferredWakes::flush() {
    std::unique_lock lock(mutex_);
    while (!targets_.empty()) {
        TaskQueueMainThread* target = targets_.back();
        targets_.pop_back();
        // Outside the lock: waking an event loop is a system call and may allocate.
        lock.unlock();
        target->wakeDeferred();
        lock.lock();
    }
}

}  // namespace glintdeck
