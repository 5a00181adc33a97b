#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"
#include "samplers/process_table.h"
#include "samplers/top_process_aggregator.h"

namespace glintdeck {

// The processes using the most CPU and the most memory, for the CPU and memory detail cards.
// Runs only while the strip shows: the store starts and stops the same object each time, and
// process names carry over from one showing to the next. Every tick scans the process table
// against the previous scan; the first tick of each start has nothing to measure against, so
// it scans again one second later and its sample covers that second. Ticks come at most every
// two seconds, since a scan of every process is the costliest reading any sampler takes.
class TopProcessSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const TopProcessesSample&)>;

    TopProcessSampler(Executor& executor, double interval,
                      std::unique_ptr<ProcessTableSource> source, OnSample onSample);

    // stop() sets cancelled before it cancels the timer: a tick already running when the strip
    // hides then delivers nothing, so no stale list reappears after the store emptied it.
    void start() override;
    void stop() override;

  private:
    void tick() override;
    void prepare() override;
    void release() override;
    void measureAfterBaseline(uint64_t run);
    void scanAndDeliver();

    std::unique_ptr<ProcessTableSource> source_;
    OnSample onSample_;
    std::atomic<bool> cancelled_ = false;
    // Queue-only state. run_ changes at every start and stop, so a follow-up scan scheduled
    // by an earlier run does nothing.
    uint64_t run_ = 0;
    std::vector<ProcessRow> rows_;
    TopProcessAggregator aggregator_;
};

}  // namespace glintdeck
