#include "samplers/thread_pool_executor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "core/deferred_wakes.h"
#include "samplers/tick_grid.h"

namespace glintdeck {
namespace {

using SteadyClock = std::chrono::steady_clock;
using Task = SerialQueue::Task;

// Timers this close to the earliest deadline fire in the same wakeup.
constexpr auto kCoalescingWindow = std::chrono::milliseconds(2);
constexpr auto kShortestPeriod = std::chrono::milliseconds(1);
// A hand-edited interval can be anything; converting 1e300 seconds to a clock duration would be
// undefined, and nothing here needs to wait longer than a day.
constexpr double kLongestWaitSeconds = 86400;

SteadyClock::duration toDuration(double seconds) {
    if (!(seconds > 0)) seconds = 0;  // also NaN
    seconds = std::min(seconds, kLongestWaitSeconds);
    return std::chrono::duration_cast<SteadyClock::duration>(
        std::chrono::duration<double>(seconds));
}

struct QueueState {
    std::string label;
    std::deque<Task> tasks;
    bool scheduled = false;  // in the ready list or running; guarded by the core's mutex
};

struct TimerState {
    std::shared_ptr<QueueState> queue;
    SteadyClock::duration period{};  // zero for a one-shot task
    Task handler;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> tickQueued{false};  // a tick waits in the queue; don't pile up another
};

struct TimerEntry {
    SteadyClock::time_point deadline;
    uint64_t sequence = 0;
    std::shared_ptr<TimerState> timer;
    bool operator>(const TimerEntry& other) const {
        return deadline != other.deadline ? deadline > other.deadline : sequence > other.sequence;
    }
};

}  // namespace

struct ThreadPoolExecutor::Core {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<QueueState>> ready;
    std::vector<TimerEntry> timers;  // a min-heap on (deadline, sequence)
    uint64_t nextSequence = 0;
    TickGrid grid;  // every repeating timer ticks on it
    bool stopping = false;
    SteadyClock::duration standbyDelay{};
    // What the idle worker keeping time waits for; none while no worker does.
    std::optional<SteadyClock::time_point> timekeeperDeadline;
    // When each worker began the task it runs; max() while it runs none.
    std::vector<SteadyClock::time_point> runningSince;
    // Posts to the main thread from ticks wake it when the workers run out of work, not at once.
    DeferredWakes mainThreadWakes;
    SteadyClock::duration deliverySpacing{};
    SteadyClock::time_point lastDelivery = SteadyClock::time_point::min();
    bool deliveryHeld = false;  // posts wait for lastDelivery + deliverySpacing

    // The earliest moment a worker has something to do: a timer falls due or a held delivery
    // is to go.
    [[nodiscard]] std::optional<SteadyClock::time_point> nextDueLocked() const {
        std::optional<SteadyClock::time_point> due;
        if (!timers.empty()) due = timers.front().deadline;
        if (deliveryHeld && (!due || deliveryDue() < *due)) due = deliveryDue();
        return due;
    }

    // When posts held back from the main thread are to go at the latest.
    [[nodiscard]] SteadyClock::time_point deliveryDue() const {
        return lastDelivery + deliverySpacing;
    }

    // The worker keeping time wakes for a held delivery; it is told when it would sleep past it.
    void holdDeliveryLocked() {
        if (!deliveryHeld && timekeeperDeadline && deliveryDue() < *timekeeperDeadline) {
            wake.notify_all();
        }
        deliveryHeld = true;
    }

    // Lets go of the lock while the main threads are woken.
    void deliverLocked(std::unique_lock<std::mutex>& lock, SteadyClock::time_point now) {
        deliveryHeld = false;
        lastDelivery = now;
        lock.unlock();
        mainThreadWakes.flush();
        lock.lock();
    }

    // Cancelled timers stay in the heap until they fall due; a running one is always there.
    [[nodiscard]] bool anyRepeatingTimerLocked() const {
        return std::any_of(timers.begin(), timers.end(), [](const TimerEntry& entry) {
            return entry.timer->period != SteadyClock::duration::zero() && !entry.timer->cancelled;
        });
    }

    // Whether another worker runs a task it took since `woke`, when the calling worker woke:
    // the ticks that fell due together, whose last one to finish delivers for all. A task
    // running from before is slow or stuck, and what the others posted goes without it.
    [[nodiscard]] bool burstStillRunningLocked(SteadyClock::time_point woke) const {
        return std::any_of(runningSince.begin(), runningSince.end(),
                           [&](SteadyClock::time_point since) {
                               return since >= woke && since != SteadyClock::time_point::max();
                           });
    }

    // Returns the task back when the executor has shut down, so the caller destroys it
    // outside the lock (it may hold the last reference to a sampler). A worker enqueueing
    // runs the task itself (wakeWorker false); another thread wakes one.
    Task enqueueLocked(const std::shared_ptr<QueueState>& queue, Task task, bool wakeWorker) {
        if (stopping) return task;
        queue->tasks.push_back(std::move(task));
        if (!queue->scheduled) {
            queue->scheduled = true;
            ready.push_back(queue);
            if (wakeWorker) wake.notify_one();
        }
        return nullptr;
    }

    // Waiting workers are woken only for a new earliest deadline added from another thread; a
    // worker re-arming a timer recomputes its own wait.
    void addTimerLocked(std::shared_ptr<TimerState> timer, SteadyClock::time_point deadline,
                        bool wakeWorkers) {
        bool earliest = timers.empty() || deadline < timers.front().deadline;
        timers.push_back({deadline, nextSequence++, std::move(timer)});
        std::push_heap(timers.begin(), timers.end(), std::greater<>{});
        if (earliest && wakeWorkers) wake.notify_all();
    }

    void fireDueTimersLocked(SteadyClock::time_point now) {
        while (!timers.empty() && timers.front().deadline <= now + kCoalescingWindow) {
            std::pop_heap(timers.begin(), timers.end(), std::greater<>{});
            TimerEntry entry = std::move(timers.back());
            timers.pop_back();
            TimerState& timer = *entry.timer;
            if (timer.cancelled) continue;
            if (timer.period == SteadyClock::duration::zero()) {
                (void)enqueueLocked(timer.queue, std::move(timer.handler), false);
                continue;
            }
            if (!timer.tickQueued.exchange(true)) {
                (void)enqueueLocked(
                    timer.queue,
                    [state = entry.timer] {
                        state->tickQueued = false;
                        if (!state->cancelled) state->handler();
                    },
                    false);
            }
            auto next = grid.next(timer.period, entry.deadline, now);
            addTimerLocked(std::move(entry.timer), next, false);
        }
    }

    void work(size_t self) {
        DeferredWakes::Scope deferring(mainThreadWakes);
        std::unique_lock lock(mutex);
        SteadyClock::time_point woke = SteadyClock::now();
        bool delivered = true;  // nothing posted since this worker last flushed
        while (!stopping) {
            const auto now = SteadyClock::now();
            fireDueTimersLocked(now);
            if (!ready.empty()) {
                std::shared_ptr<QueueState> queue = std::move(ready.front());
                ready.pop_front();
                Task task = std::move(queue->tasks.front());
                queue->tasks.pop_front();
                runningSince[self] = now;
                lock.unlock();
                task();
                task = nullptr;  // destroyed outside the lock
                lock.lock();
                runningSince[self] = SteadyClock::time_point::max();
                delivered = false;
                if (!queue->tasks.empty()) {
                    ready.push_back(std::move(queue));  // shutdown() drops what is left
                } else {
                    queue->scheduled = false;
                }
                continue;
            }
            if (!delivered && !burstStillRunningLocked(woke)) {
                delivered = true;
                // A delivery due about now goes with this burst rather than on its own.
                if (now + kCoalescingWindow < deliveryDue()) {
                    holdDeliveryLocked();
                } else {
                    deliverLocked(lock, now);
                    continue;  // the lock was let go: look again before sleeping
                }
            }
            const std::optional<SteadyClock::time_point> due = nextDueLocked();
            if (!due) {
                wake.wait(lock);
            } else if (!timekeeperDeadline) {
                timekeeperDeadline = due;
                wake.wait_until(lock, *due);
                timekeeperDeadline.reset();
            } else {
                standBy(lock, *due);
            }
            woke = SteadyClock::now();
            delivered = false;  // what a stuck worker posted, too
        }
        lock.unlock();
        mainThreadWakes.flush();
    }

    // Until woken for a task posted or a new timer, or until what is due is overdue by
    // standbyDelay; not when it merely falls due, which the worker keeping time sees to.
    void standBy(std::unique_lock<std::mutex>& lock, SteadyClock::time_point due) {
        SteadyClock::time_point overdue = due + standbyDelay;
        while (wake.wait_until(lock, overdue) == std::cv_status::timeout) {
            const std::optional<SteadyClock::time_point> next = nextDueLocked();
            if (!next || SteadyClock::now() >= *next + standbyDelay) return;
            overdue = *next + standbyDelay;
        }
    }
};

namespace {

class PoolTimer final : public RepeatingTimer {
  public:
    explicit PoolTimer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
    ~PoolTimer() override { cancel(); }
    void cancel() override { state_->cancelled = true; }

  private:
    std::shared_ptr<TimerState> state_;
};

class PoolQueue final : public SerialQueue {
  public:
    PoolQueue(std::shared_ptr<ThreadPoolExecutor::Core> core, std::string label)
        : core_(std::move(core)), state_(std::make_shared<QueueState>()) {
        state_->label = std::move(label);
    }

    const std::string& label() const override { return state_->label; }

    void async(Task task) override {
        Task dropped;
        {
            std::lock_guard lock(core_->mutex);
            dropped = core_->enqueueLocked(state_, std::move(task), true);
        }
    }

    void asyncAfter(double seconds, Task task) override {
        auto timer = makeTimerState(0, std::move(task));
        schedule(std::move(timer), seconds);
    }

    std::unique_ptr<RepeatingTimer> scheduleRepeating(double periodSeconds, Task handler) override {
        auto timer = makeTimerState(periodSeconds, std::move(handler));
        schedule(timer, 0);
        return std::make_unique<PoolTimer>(std::move(timer));
    }

  private:
    std::shared_ptr<TimerState> makeTimerState(double periodSeconds, Task handler) {
        auto timer = std::make_shared<TimerState>();
        timer->queue = state_;
        if (periodSeconds > 0) {
            timer->period =
                std::max<SteadyClock::duration>(toDuration(periodSeconds), kShortestPeriod);
        }
        timer->handler = std::move(handler);
        return timer;
    }

    void schedule(std::shared_ptr<TimerState> timer, double delaySeconds) {
        auto deadline = SteadyClock::now() + toDuration(delaySeconds);
        std::lock_guard lock(core_->mutex);
        if (core_->stopping) return;
        if (timer->period != SteadyClock::duration::zero()) {
            core_->grid.timerStarted(deadline, core_->anyRepeatingTimerLocked());
        }
        core_->addTimerLocked(std::move(timer), deadline, true);
    }

    std::shared_ptr<ThreadPoolExecutor::Core> core_;
    std::shared_ptr<QueueState> state_;
};

}  // namespace

ThreadPoolExecutor::ThreadPoolExecutor(int threadCount, double standbyDelaySeconds)
    : core_(std::make_shared<Core>()) {
    core_->standbyDelay = toDuration(standbyDelaySeconds);
    const auto count = static_cast<size_t>(std::max(1, threadCount));
    core_->runningSince.assign(count, SteadyClock::time_point::max());
    for (size_t i = 0; i < count; ++i) {
        workers_.emplace_back([core = core_, i] { core->work(i); });
    }
}

ThreadPoolExecutor::~ThreadPoolExecutor() { shutdown(); }

void ThreadPoolExecutor::setDeliverySpacing(double seconds) {
    std::unique_lock lock(core_->mutex);
    core_->deliverySpacing = toDuration(seconds);
    if (core_->deliveryHeld) core_->deliverLocked(lock, SteadyClock::now());
}

std::shared_ptr<SerialQueue> ThreadPoolExecutor::makeQueue(std::string label) {
    return std::make_shared<PoolQueue>(core_, std::move(label));
}

void ThreadPoolExecutor::shutdown() {
    {
        std::lock_guard lock(core_->mutex);
        core_->stopping = true;
    }
    core_->wake.notify_all();
    for (auto& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
    // Pending work may hold the last references to samplers: destroy it outside the lock.
    std::deque<std::shared_ptr<QueueState>> ready;
    std::vector<TimerEntry> timers;
    {
        std::lock_guard lock(core_->mutex);
        ready.swap(core_->ready);
        timers.swap(core_->timers);
    }
    std::deque<Task> tasks;
    for (auto& queue : ready) {
        std::lock_guard lock(core_->mutex);
        tasks.insert(tasks.end(), std::make_move_iterator(queue->tasks.begin()),
                     std::make_move_iterator(queue->tasks.end()));
        queue->tasks.clear();
        queue->scheduled = false;
    }
}

}  // namespace glintdeck
