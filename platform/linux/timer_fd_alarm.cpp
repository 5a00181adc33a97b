#include "platform/linux/timer_fd_alarm.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace glintdeck {

// steady_clock is CLOCK_MONOTONIC, the clock the timer runs on.
itimerspec timerExpiryAt(std::chrono::steady_clock::time_point when) {
    auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch());
    // Zero would disarm the timer; a time already past expires at once.
    if (since.count() <= 0) since = std::chrono::nanoseconds(1);
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(since.count() / 1'000'000'000);
    expiry.it_value.tv_nsec = static_cast<long>(since.count() % 1'000'000'000);
    return expiry;
}

std::unique_ptr<TimerFdAlarm> TimerFdAlarm::create() {
    int file = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (file < 0) return nullptr;
    return std::unique_ptr<TimerFdAlarm>(new TimerFdAlarm(file));
}

TimerFdAlarm::~TimerFdAlarm() {
    if (thread_.joinable()) {
        stopping_ = true;
        set(std::chrono::steady_clock::time_point{});  // expires at once: the thread sees stopping_
        thread_.join();
    }
    ::close(file_);
}

void TimerFdAlarm::start(std::function<void()> ring) {
    thread_ = std::thread([this, ring = std::move(ring)] {
        for (;;) {
            uint64_t expirations = 0;
            ssize_t length = ::read(file_, &expirations, sizeof expirations);
            if (stopping_) return;
            if (length == sizeof expirations) {
                ring();
            } else if (errno != EINTR) {
                return;  // cannot happen with a valid timerfd; never spin
            }
        }
    });
}

void TimerFdAlarm::set(std::chrono::steady_clock::time_point when) {
    const itimerspec expiry = timerExpiryAt(when);
    (void)timerfd_settime(file_, TFD_TIMER_ABSTIME, &expiry, nullptr);
}

void TimerFdAlarm::clear() {
    const itimerspec disarmed{};
    (void)timerfd_settime(file_, 0, &disarmed, nullptr);
}

}  // namespace glintdeck
