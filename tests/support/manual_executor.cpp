#include "tests/support/manual_executor.h"

#include <algorithm>
#include <limits>

namespace glintdeck {

struct ManualExecutor::State {
    struct Timer {
        double deadline = 0;
        double period = 0;  // 0 for a one-shot task
        SerialQueue::Task task;
        std::shared_ptr<bool> cancelled = std::make_shared<bool>(false);
    };
    double now = 0;
    std::deque<SerialQueue::Task> tasks;
    std::vector<Timer> timers;
    std::vector<std::string> labels;

    void fireTimersDueNow() {
        for (size_t i = 0; i < timers.size();) {
            Timer& timer = timers[i];
            if (*timer.cancelled) {
                timers.erase(timers.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            if (timer.deadline > now) {
                ++i;
                continue;
            }
            if (timer.period == 0) {
                tasks.push_back(std::move(timer.task));
                timers.erase(timers.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            tasks.push_back([task = timer.task, cancelled = timer.cancelled] {
                if (!*cancelled) task();
            });
            while (timer.deadline <= now) timer.deadline += timer.period;
            ++i;
        }
    }
};

namespace {

class ManualTimer final : public RepeatingTimer {
  public:
    explicit ManualTimer(std::shared_ptr<bool> cancelled) : cancelled_(std::move(cancelled)) {}
    ~ManualTimer() override { cancel(); }
    void cancel() override { *cancelled_ = true; }

  private:
    std::shared_ptr<bool> cancelled_;
};

class ManualQueue final : public SerialQueue {
  public:
    ManualQueue(std::weak_ptr<ManualExecutor::State> state, std::string label)
        : state_(std::move(state)), label_(std::move(label)) {}

    const std::string& label() const override { return label_; }

    void async(Task task) override {
        if (auto state = state_.lock()) state->tasks.push_back(std::move(task));
    }

    void asyncAfter(double seconds, Task task) override {
        if (auto state = state_.lock()) {
            state->timers.push_back({.deadline = state->now + seconds, .task = std::move(task)});
        }
    }

    std::unique_ptr<RepeatingTimer> scheduleRepeating(double period, Task handler) override {
        ManualExecutor::State::Timer timer{
            .deadline = 0, .period = period, .task = std::move(handler)};
        auto cancelled = timer.cancelled;
        if (auto state = state_.lock()) {
            timer.deadline = state->now;
            state->timers.push_back(std::move(timer));
        }
        return std::make_unique<ManualTimer>(std::move(cancelled));
    }

  private:
    std::weak_ptr<ManualExecutor::State> state_;
    std::string label_;
};

}  // namespace

ManualExecutor::ManualExecutor() : state_(std::make_shared<State>()) {}

ManualExecutor::~ManualExecutor() {
    // Tasks may hold samplers whose destructors post again: drop them outside the state.
    std::deque<SerialQueue::Task> tasks = std::move(state_->tasks);
    std::vector<State::Timer> timers = std::move(state_->timers);
    state_.reset();
}

std::shared_ptr<SerialQueue> ManualExecutor::makeQueue(std::string label) {
    state_->labels.push_back(label);
    return std::make_shared<ManualQueue>(state_, std::move(label));
}

int ManualExecutor::runUntilIdle() {
    int count = 0;
    for (;;) {
        state_->fireTimersDueNow();
        if (state_->tasks.empty()) return count;
        SerialQueue::Task task = std::move(state_->tasks.front());
        state_->tasks.pop_front();
        task();
        ++count;
    }
}

void ManualExecutor::advance(double seconds) {
    double target = state_->now + seconds;
    runUntilIdle();
    for (;;) {
        double next = std::numeric_limits<double>::infinity();
        for (const State::Timer& timer : state_->timers) {
            if (!*timer.cancelled) next = std::min(next, timer.deadline);
        }
        if (next > target) break;
        state_->now = std::max(state_->now, next);
        runUntilIdle();
    }
    state_->now = target;
    runUntilIdle();
}

double ManualExecutor::now() const { return state_->now; }

std::vector<std::string> ManualExecutor::queueLabels() const { return state_->labels; }

}  // namespace glintdeck
