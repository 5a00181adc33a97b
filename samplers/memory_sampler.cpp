#include "samplers/memory_sampler.h"

namespace glintdeck {

MemorySampler::MemorySampler(Executor& executor, double interval,
                             std::unique_ptr<MemorySource> source, OnSample onSample)
    : PeriodicSampler(executor, "MemorySampler", interval, interval),
      source_(std::move(source)),
      onSample_(std::move(onSample)) {}

void MemorySampler::tick() {
    std::optional<VMStatistics> stats = source_->statistics();
    if (!stats) return;
    uint64_t pageSize = source_->pageSize();
    uint64_t physicalMemory = source_->physicalMemory();

    MemorySample sample;
    sample.usedBytes = pageSize * (stats->active + stats->wire + stats->compressor);
    sample.totalBytes = physicalMemory;
    // Purgeable pages are counted inside internal; more purgeable than internal is a torn
    // reading, not negative application memory.
    sample.appBytes =
        stats->purgeable > stats->internal ? 0 : pageSize * (stats->internal - stats->purgeable);
    sample.wiredBytes = pageSize * stats->wire;
    sample.compressedBytes = pageSize * stats->compressor;
    // Not clamped: used memory above the physical size is shown as it is.
    sample.pressurePercent =
        sample.totalBytes == 0
            ? 0
            : static_cast<double>(sample.usedBytes) / static_cast<double>(sample.totalBytes) * 100;
    onSample_(sample);
}

}  // namespace glintdeck
