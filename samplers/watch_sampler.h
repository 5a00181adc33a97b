#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"
#include "samplers/process_table.h"

namespace glintdeck {

// The kernel's memory pressure figure, where it keeps one. Used on one queue only.
class PressureSource {
  public:
    virtual ~PressureSource() = default;
    // Percent of the last minute in which some task waited for memory; none where the kernel
    // has no pressure stall information.
    [[nodiscard]] virtual std::optional<double> memoryPressure() = 0;
};

// What the alerts watch beyond the tiles, on a slow cadence of its own so that watching costs
// next to nothing while the strip is hidden: the memory pressure at every tick, and the process
// table only while the alerts ask for it (a machine with no core busy cannot have a runaway
// process), and then only every scanEvery ticks: a scan reads a file per process, and a
// process's share over a longer stretch tells a runaway just as well. The ticks between scans
// repeat the last scan's busiest and largest processes. A table no longer asked for is given
// back at the next tick, its open files closed.
class WatchSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const WatchSample&)>;

    WatchSampler(Executor& executor, double interval, int scanEvery,
                 std::unique_ptr<ProcessTableSource> table,
                 std::unique_ptr<PressureSource> pressure, OnSample onSample);

    // Any thread: whether the next ticks scan the process table.
    void setScanProcesses(bool scan) { scanProcesses_ = scan; }

  private:
    void tick() override;
    void release() override;
    void scan();
    void giveBackTable();
    [[nodiscard]] WatchedProcess watched(const ProcessRow& row, double value);

    int scanEvery_;
    std::unique_ptr<ProcessTableSource> table_;
    std::unique_ptr<PressureSource> pressure_;
    OnSample onSample_;
    std::atomic<bool> scanProcesses_ = false;
    // Queue-only state.
    bool tableHeld_ = false;
    int ticksSinceScan_ = 0;
    std::vector<ProcessRow> rows_;
    // Of the last scan; every sample carries them.
    std::optional<WatchedProcess> busiest_;
    std::optional<WatchedProcess> largest_;
};

}  // namespace glintdeck
