#pragma once

#include <time.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "samplers/hand_over_alarm.h"

namespace glintdeck {

// A timerfd expiry at when on CLOCK_MONOTONIC (steady_clock's), for TFD_TIMER_ABSTIME; a time
// already past expires at once.
[[nodiscard]] itimerspec timerExpiryAt(std::chrono::steady_clock::time_point when);

// The executor's hand-over alarm on a timerfd: setting and clearing it is a system call that
// wakes nobody, and its thread sleeps in read() until the timer actually expires, which happens
// only when a tick keeps a worker busy past the hand-over.
class TimerFdAlarm final : public HandOverAlarm {
  public:
    // nullptr when the kernel refuses a timerfd; the executor then does without.
    [[nodiscard]] static std::unique_ptr<TimerFdAlarm> create();
    ~TimerFdAlarm() override;

    TimerFdAlarm(const TimerFdAlarm&) = delete;
    TimerFdAlarm& operator=(const TimerFdAlarm&) = delete;

    void start(std::function<void()> ring) override;
    void set(std::chrono::steady_clock::time_point when) override;
    void clear() override;

  private:
    explicit TimerFdAlarm(int file) : file_(file) {}

    int file_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace glintdeck
