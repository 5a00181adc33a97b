#include "core/task_queue_main_thread.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace glintdeck {
namespace {

TEST(TaskQueueMainThreadTest, RunsTasksFromOtherThreadsOnTheDrainingThreadInOrder) {
    TaskQueueMainThread mainThread;
    std::vector<int> order;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) mainThread.post([&order, i] { order.push_back(i); });
    });
    poster.join();
    EXPECT_EQ(mainThread.runPending(), 100);
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(TaskQueueMainThreadTest, TasksPostedByTasksRunInTheSameDrain) {
    TaskQueueMainThread mainThread;
    bool inner = false;
    mainThread.post([&] { mainThread.post([&] { inner = true; }); });
    EXPECT_EQ(mainThread.runPending(), 2);
    EXPECT_TRUE(inner);
}

TEST(TaskQueueMainThreadTest, RunNextWakesForATaskPostedWhileWaiting) {
    TaskQueueMainThread mainThread;
    bool ran = false;
    std::thread poster([&] { mainThread.post([&] { ran = true; }); });
    while (!ran) mainThread.runNext(std::chrono::hours(1));
    poster.join();
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace glintdeck
