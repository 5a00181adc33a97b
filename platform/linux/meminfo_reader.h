#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/kernel_file.h"
#include "samplers/memory_sampler.h"

namespace glintdeck {

// The lines of /proc/meminfo the memory figures use, in kB as the file gives them. Keys a
// kernel does not print read 0, except MemAvailable (since 3.14), whose absence matters.
struct Meminfo {
    uint64_t memTotal = 0;
    uint64_t memFree = 0;
    std::optional<uint64_t> memAvailable;
    uint64_t anonPages = 0;
    uint64_t sUnreclaim = 0;
    uint64_t kernelStack = 0;
    uint64_t pageTables = 0;
    uint64_t secPageTables = 0;
    uint64_t mlocked = 0;
    uint64_t zswap = 0;
    bool operator==(const Meminfo&) const = default;
};

// Nothing unless MemTotal and MemFree are both present.
[[nodiscard]] std::optional<Meminfo> parseMeminfo(std::string_view text);

// mem_used_total, the third field of a zram device's mm_stat: bytes of RAM the device holds.
[[nodiscard]] std::optional<uint64_t> parseZramMemUsed(std::string_view mmStat);

// Linux's memory accounting as page counts:
// - used (active + wire + compressor) is MemTotal - MemAvailable, what free(1) calls used;
//   MemFree stands in where MemAvailable is missing or larger than the total;
// - wire is memory the kernel holds and cannot reclaim: unreclaimable slab, kernel stacks,
//   page tables and locked pages;
// - compressor is what compressed swap in RAM occupies (zswap's pool and zram devices);
// - active is the rest of used, so that the three add up to used exactly;
// - internal is anonymous memory; Linux has no global purgeable count.
[[nodiscard]] VMStatistics toVMStatistics(const Meminfo& meminfo, uint64_t zramBytes,
                                          uint64_t pageSize);

// /proc/meminfo and the zram devices under a root path. The zram devices are found on the
// first read (on the sampler's queue) and kept; their files and /proc/meminfo stay open.
class MeminfoReader final : public MemorySource {
  public:
    explicit MeminfoReader(std::string root, uint64_t pageSize = systemPageSize());

    [[nodiscard]] std::optional<VMStatistics> statistics() override;
    [[nodiscard]] uint64_t pageSize() override { return pageSize_; }
    // MemTotal of the latest statistics() reading, so used and total come from one snapshot.
    [[nodiscard]] uint64_t physicalMemory() override { return physicalMemory_; }

    [[nodiscard]] static uint64_t systemPageSize();

  private:
    void findZramDevices();

    std::string root_;
    uint64_t pageSize_;
    uint64_t physicalMemory_ = 0;
    KernelFile meminfo_;
    std::vector<std::unique_ptr<KernelFile>> zram_;
    bool zramFound_ = false;
};

}  // namespace glintdeck
