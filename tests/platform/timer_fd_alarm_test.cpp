#include "platform/linux/timer_fd_alarm.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/support/latch.h"

namespace glintdeck {
namespace {

// The executor sets times of steady_clock: they must be read as absolute times of the same
// clock, so a time already passed rings at once, and destroying the alarm ends its thread.
TEST(TimerFdAlarmTest, RingsOnceForTheTimeLastSet) {
    auto alarm = TimerFdAlarm::create();
    ASSERT_NE(alarm, nullptr);
    Latch rang(1);
    std::atomic<int> rings = 0;
    alarm->start([&] {
        ++rings;
        rang.countDown();
    });
    alarm->set(std::chrono::steady_clock::now() + std::chrono::hours(1));
    alarm->clear();
    alarm->set(std::chrono::steady_clock::now());
    rang.wait();
    EXPECT_EQ(rings, 1);
    alarm.reset();  // joins its thread
}

}  // namespace
}  // namespace glintdeck
