// glintdeck_store_soak [SECONDS]: the store and the real samplers under the program's own
// churn, for the ThreadSanitizer tree, which has no Qt and so no glintdeck to run. For SECONDS
// (default 25) it samples this machine at the fastest interval, 0.25 s, on the program's thread
// pool; shows and hides the panel every 1.5 s (the top-process sampler starts and stops with it)
// and stops and restarts the whole store every 5 s, as an interval change does. Fails when the
// samplers fall silent after a restart; a race is ThreadSanitizer's to report.
#include <algorithm>
#include <chrono>
#include <cstdint>
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

using Steady = std::chrono::steady_clock;

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

    int64_t cpuSamples = 0;  // appended to the history, equal or not
    int topProcessLists = 0;
    int restarts = 0;
    int flips = 0;
    bool stalled = false;
    {
        StatsStore store(mainThread, samplers, interval);
        Subscription counting = store.subscribe([&](StoreField field) {
            if (field == StoreField::topProcesses) ++topProcessLists;
        });
        // Each start begins the revisions afresh; five seconds at 0.25 s is twenty ticks, and
        // none at all means the samplers did not come back.
        auto takeCPUSamples = [&] {
            auto found = store.historyRevisions().find(StatKind::cpu);
            int64_t taken = found == store.historyRevisions().end() ? 0 : found->second;
            if (taken == 0) stalled = true;
            cpuSamples += taken;
        };
        store.start();

        const auto end = Steady::now() + std::chrono::seconds(seconds);
        auto nextFlip = Steady::now() + kVisibilityPeriod;
        auto nextRestart = Steady::now() + kRestartPeriod;
        while (Steady::now() < end) {
            const auto wake = std::min({nextFlip, nextRestart, end});
            mainThread.runNext(
                std::chrono::duration_cast<std::chrono::milliseconds>(wake - Steady::now()) +
                std::chrono::milliseconds(1));
            const auto now = Steady::now();
            if (now >= end) break;
            if (now >= nextFlip) {
                store.setPanelVisible(!store.panelVisible());
                ++flips;
                nextFlip += kVisibilityPeriod;
            }
            if (now >= nextRestart) {
                takeCPUSamples();
                store.stop();
                store.start();
                ++restarts;
                nextRestart += kRestartPeriod;
            }
        }
        mainThread.runPending();
        takeCPUSamples();
        store.stop();
        mainThread.runPending();
    }
    executor.shutdown();

    std::printf(
        "store-soak: %d s, %lld processor samples, %d top-process lists, %d restarts, "
        "%d visibility changes\n",
        seconds, static_cast<long long>(cpuSamples), topProcessLists, restarts, flips);
    if (stalled) {
        std::fprintf(stderr, "store-soak: the samplers fell silent after a restart\n");
        return 1;
    }
    return 0;
}
