// glintdeck-stats: prints each sample as it arrives until interrupted.

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "core/task_queue_main_thread.h"
#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_stat_reader.h"
#include "platform/linux/system_clock.h"
#include "samplers/cpu_sampler.h"
#include "samplers/load_average_sampler.h"
#include "samplers/thread_pool_executor.h"
#include "samplers/uptime_sampler.h"

using namespace glintdeck;

namespace {

constexpr double kInterval = 1.0;

// Blocks SIGINT and SIGTERM in every thread and turns them into a quit request on the main
// thread, so Ctrl+C ends the program cleanly instead of killing it mid-write.
std::thread watchForQuit(MainThread& mainThread, std::atomic<bool>& quit) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return std::thread([signals, &mainThread, &quit] {
        int received = 0;
        sigwait(&signals, &received);
        mainThread.post([&quit] { quit = true; });
    });
}

}  // namespace

int main() {
    TaskQueueMainThread mainThread;
    std::atomic<bool> quit = false;
    std::thread quitWatcher = watchForQuit(mainThread, quit);

    ThreadPoolExecutor executor;
    auto clock = std::make_shared<SystemClock>();
    auto cpu = std::make_shared<CPUSampler>(
        executor, kInterval, std::make_unique<ProcStatReader>("/"), [&](const CPUSample& s) {
            mainThread.post([s] {
                std::printf("cpu     %5.1f%%  user %5.1f%%  system %5.1f%%  idle %5.1f%%\n",
                            s.totalUsagePercent, s.userPercent, s.systemPercent, s.idlePercent);
            });
        });
    auto load = std::make_shared<LoadAverageSampler>(
        executor, kInterval, std::make_unique<ProcLoadAverageReader>("/"),
        [&](const LoadSample& s) {
            mainThread.post(
                [s] { std::printf("load    %.2f %.2f %.2f\n", s.one, s.five, s.fifteen); });
        });
    auto uptime = std::make_shared<UptimeSampler>(
        executor, kInterval, std::make_unique<ClockBootTimeSource>(clock), clock,
        [&](const UptimeSample& s) {
            mainThread.post([s] { std::printf("uptime  %.0f s\n", s.seconds); });
        });

    cpu->start();
    load->start();
    uptime->start();
    while (!quit) {
        mainThread.runNext(std::chrono::hours(1));
        std::fflush(stdout);
    }
    cpu->stop();
    load->stop();
    uptime->stop();
    executor.shutdown();
    quitWatcher.join();
    return 0;
}
