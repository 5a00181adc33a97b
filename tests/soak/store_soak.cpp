// glintdeck_store_soak [SECONDS]: the store and the real samplers under the program's own
// churn, for the ThreadSanitizer tree, which has no Qt and so no glintdeck to run. For SECONDS
// (default 25) it samples this machine at the fastest interval, 0.25 s, on the program's thread
// pool; shows and hides the panel every 1.5 s (the top-process sampler starts and stops with it)
// and stops and restarts the whole store every 5 s, as an interval change does. Fails when the
// samplers fall silent after a restart; a race is ThreadSanitizer's to report.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/stats_store.h"
#include "core/task_queue_main_thread.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/system_clock.h"
#include "samplers/thread_pool_executor.h"

using namespace glintdeck;

namespace {

using Clock = std::chrono::steady_clock;

class FastestInterval final : public IntervalSource {
  public:
    [[nodiscard]] double interval() const override { return 0.25; }
};

constexpr auto kVisibilityPeriod = std::chrono::milliseconds(1500);
constexpr auto kRestartPeriod = std::chrono::seconds(5);

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 25;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: glintdeck_store_soak [SECONDS]\n");
        return 2;
    }

    TaskQueueMainThread mainThread;
    ThreadPoolExecutor executor;
    LinuxSamplerFactory samplers(executor, std::make_shared<SystemClock>());
    FastestInterval interval;

    int cpuSamples = 0;
    int topProcessSamples = 0;
    int restarts = 0;
    int flips = 0;
    bool stalled = false;
    {
        StatsStore store(mainThread, samplers, interval);
        Subscription counting = store.subscribe([&](StoreField field) {
            if (field == StoreField::cpu) ++cpuSamples;
            if (field == StoreField::topProcesses) ++topProcessSamples;
        });
        store.start();

        const auto end = Clock::now() + std::chrono::seconds(seconds);
        auto nextFlip = Clock::now() + kVisibilityPeriod;
        auto nextRestart = Clock::now() + kRestartPeriod;
        int cpuAtRestart = 0;
        while (Clock::now() < end) {
            const auto wake = std::min({nextFlip, nextRestart, end});
            mainThread.runNext(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   wake - Clock::now()) +
                               std::chrono::milliseconds(1));
            const auto now = Clock::now();
            if (now >= nextFlip) {
                store.setPanelVisible(!store.panelVisible());
                ++flips;
                nextFlip += kVisibilityPeriod;
            }
            if (now >= nextRestart) {
                // Five seconds at 0.25 s is twenty ticks; none at all means a dead restart.
                if (cpuSamples == cpuAtRestart) stalled = true;
                cpuAtRestart = cpuSamples;
                store.stop();
                store.start();
                ++restarts;
                nextRestart += kRestartPeriod;
            }
        }
        store.stop();
        mainThread.runPending();
    }
    executor.shutdown();

    std::printf("store-soak: %d s, %d processor samples, %d top-process lists, %d restarts, "
                "%d visibility changes\n",
                seconds, cpuSamples, topProcessSamples, restarts, flips);
    if (stalled || cpuSamples == 0) {
        std::fprintf(stderr, "store-soak: the samplers fell silent after a restart\n");
        return 1;
    }
    return 0;
}
