#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

// The virtual-memory page counts the memory figures are built from.
struct VMStatistics {
    uint64_t active = 0;      // in use by processes, not counted below
    uint64_t wire = 0;        // held by the kernel, never paged out
    uint64_t compressor = 0;  // occupied by compressed memory
    uint64_t internal = 0;    // anonymous pages
    uint64_t purgeable = 0;   // anonymous pages the system may discard without writing them out
    bool operator==(const VMStatistics&) const = default;
};

class MemorySource {
  public:
    virtual ~MemorySource() = default;
    // Nothing when the statistics cannot be read.
    [[nodiscard]] virtual std::optional<VMStatistics> statistics() = 0;
    // Bytes per page.
    [[nodiscard]] virtual uint64_t pageSize() = 0;
    // Bytes of physical memory.
    [[nodiscard]] virtual uint64_t physicalMemory() = 0;
};

// Memory in use, split into application, wired and compressed memory. Used memory is active +
// wired + compressor pages; inactive and free pages are not in use. A tick whose statistics
// cannot be read delivers nothing, so the last sample stands.
class MemorySampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const MemorySample&)>;

    MemorySampler(Executor& executor, double interval, std::unique_ptr<MemorySource> source,
                  OnSample onSample);

  private:
    void tick() override;

    std::unique_ptr<MemorySource> source_;
    OnSample onSample_;
};

}  // namespace glintdeck
