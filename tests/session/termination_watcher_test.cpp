#include "platform/linux/session/termination_watcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

#include "core/task_queue_main_thread.h"

namespace glintdeck {
namespace {

// In a child process of its own: the signal goes to the whole process, and a thread started
// before the watcher (another test's) would die of it.
TEST(TerminationWatcherTest, ARequestCountsFromTheMomentTheSignalIsSent) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                TaskQueueMainThread mainThread;
                bool quit = false;
                TerminationWatcher watcher(mainThread, [&quit] { quit = true; });
                if (watcher.requested()) std::_Exit(1);
                ::kill(::getpid(), signal);
                // Not yet taken by the watcher's thread, perhaps, but already a request: the
                // main thread must not take on new work from here on.
                if (!watcher.requested()) std::_Exit(2);
                while (!quit) mainThread.runNext(std::chrono::milliseconds(100));
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << "signal " << signal;
    }
}

}  // namespace
}  // namespace glintdeck
