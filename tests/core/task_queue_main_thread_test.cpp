#include "core/task_queue_main_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace glintdeck {
namespace {

TEST(TaskQueueMainThreadTest, RunNextWakesForATaskPostedWhileWaiting) {
    TaskQueueMainThread mainThread;
    bool ran = false;
    std::thread poster([&] { mainThread.post([&] { ran = true; }); });
    while (!ran) mainThread.runNext(std::chrono::hours(1));
    poster.join();
    EXPECT_TRUE(ran);
}

// The owner's event loop, reduced to what the queue sees of it: how often it was woken.
struct CountingWake {
    std::atomic<int> wakes{0};
    std::atomic<bool> canWake{true};
    std::function<bool()> function() {
        return [this] {
            if (!canWake) return false;
            ++wakes;
            return true;
        };
    }
};

TEST(TaskQueueMainThreadTest, ABurstOfTasksWakesTheOwnerOnce) {
    CountingWake wake;
    TaskQueueMainThread mainThread(wake.function());
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) mainThread.post([&order, i] { order.push_back(i); });
    EXPECT_EQ(wake.wakes, 1);
    // A task posted while the owner drains runs in the same drain; the wake it asks for finds
    // nothing, which costs nothing but that wakeup.
    mainThread.post([&] { mainThread.post([&order] { order.push_back(3); }); });
    EXPECT_EQ(mainThread.runPending(), 5);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(wake.wakes, 2);
    EXPECT_EQ(mainThread.runPending(), 0);  // that wakeup
    mainThread.post([] {});
    EXPECT_EQ(wake.wakes, 3) << "the next burst wakes again";
}

TEST(TaskQueueMainThreadTest, AWakeThatFailedIsTriedAgainByTheNextPost) {
    CountingWake wake;
    TaskQueueMainThread mainThread(wake.function());
    wake.canWake = false;
    mainThread.post([] {});
    wake.canWake = true;
    mainThread.post([] {});
    EXPECT_EQ(wake.wakes, 1);
    EXPECT_EQ(mainThread.runPending(), 2);
}

// A worker delivering the ticks that fell due together wakes the owner once, when it has posted
// them all; a thread outside any scope (a signal watcher) still wakes it at once.
TEST(TaskQueueMainThreadTest, PostsInsideADeferringScopeWakeTheOwnerAtTheFlush) {
    CountingWake wake;
    TaskQueueMainThread mainThread(wake.function());
    DeferredWakes deferred;
    std::thread worker([&] {
        DeferredWakes::Scope scope(deferred);
        for (int i = 0; i < 3; ++i) mainThread.post([] {});
    });
    worker.join();
    EXPECT_EQ(wake.wakes, 0);
    deferred.flush();
    EXPECT_EQ(wake.wakes, 1);
    deferred.flush();
    EXPECT_EQ(wake.wakes, 1) << "a flush wakes each owner once";
    EXPECT_EQ(mainThread.runPending(), 3);

    std::thread([&] { mainThread.post([] {}); }).join();
    EXPECT_EQ(wake.wakes, 2) << "outside a scope";
    EXPECT_EQ(mainThread.runPending(), 1);
}

// Posters on several threads against an owner that drains whenever it is woken: every task
// runs exactly once and none is left behind a wake that was used up.
TEST(TaskQueueMainThreadTest, NoTaskIsStrandedWhenPostersRaceTheDrain) {
    std::mutex mutex;
    std::condition_variable woken;
    int wakesWaiting = 0;
    TaskQueueMainThread mainThread([&] {
        std::lock_guard lock(mutex);
        ++wakesWaiting;
        woken.notify_one();
        return true;
    });
    constexpr int kPosters = 4;
    constexpr int kTasksEach = 2000;
    int ran = 0;  // touched by the owner only
    std::thread owner([&] {
        while (ran < kPosters * kTasksEach) {
            std::unique_lock lock(mutex);
            woken.wait(lock, [&] { return wakesWaiting > 0; });
            --wakesWaiting;
            lock.unlock();
            mainThread.runPending();
        }
    });
    std::vector<std::thread> posters;
    for (int p = 0; p < kPosters; ++p) {
        posters.emplace_back([&] {
            for (int i = 0; i < kTasksEach; ++i) mainThread.post([&ran] { ++ran; });
        });
    }
    for (std::thread& poster : posters) poster.join();
    owner.join();  // hangs (and the suite times out) if a task was stranded
    EXPECT_EQ(ran, kPosters * kTasksEach);
    EXPECT_EQ(mainThread.runPending(), 0);
}

}  // namespace
}  // namespace glintdeck
