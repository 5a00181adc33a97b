#include "samplers/watch_sampler.h"

#include <algorithm>

#include "samplers/process_naming.h"

namespace glintdeck {

WatchSampler::WatchSampler(Executor& executor, double interval, int scanEvery,
                           std::unique_ptr<ProcessTableSource> table,
                           std::unique_ptr<PressureSource> pressure, OnSample onSample)
    : PeriodicSampler(executor, "WatchSampler", interval, interval),
      scanEvery_(std::max(scanEvery, 1)),
      table_(std::move(table)),
      pressure_(std::move(pressure)),
      onSample_(std::move(onSample)) {}

void WatchSampler::tick() {
    WatchSample sample;
    sample.memoryPressure = pressure_->memoryPressure();
    if (scanProcesses_) {
        if (!tableHeld_ || ++ticksSinceScan_ >= scanEvery_) scan();
    } else if (tableHeld_) {
        giveBackTable();
    }
    sample.busiest = busiest_;
    sample.largest = largest_;
    onSample_(sample);
}

void WatchSampler::release() {
    if (tableHeld_) giveBackTable();
}

void WatchSampler::giveBackTable() {
    table_->reset();
    rows_ = {};
    busiest_.reset();
    largest_.reset();
    tableHeld_ = false;
}

void WatchSampler::scan() {
    tableHeld_ = true;
    ticksSinceScan_ = 0;
    busiest_.reset();
    largest_.reset();
    const ScanResult result = table_->scan(rows_);
    if (result == ScanResult::unreadable || rows_.empty()) return;
    // Resident memory needs no earlier scan; processor time does.
    auto largest = std::max_element(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) {
        return a.memoryBytes < b.memoryBytes;
    });
    largest_ = watched(*largest, largest->memoryBytes);
    if (result != ScanResult::measured) return;
    auto busiest = std::max_element(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) {
        return a.cpuPercent < b.cpuPercent;
    });
    busiest_ = watched(*busiest, busiest->cpuPercent);
}

WatchedProcess WatchSampler::watched(const ProcessRow& row, double value) {
    return {.pid = row.id.pid,
            .startTime = row.id.startTime,
            .name = displayName(table_->executablePath(row), row.command),
            .value = value};
}

}  // namespace glintdeck
