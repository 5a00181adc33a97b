#include "samplers/memory_sampler.h"

#include <gtest/gtest.h>

#include "tests/support/sampler_run.h"

namespace glintdeck {
namespace {

struct FixedMemory final : MemorySource {
    FixedMemory(std::optional<VMStatistics> stats, uint64_t pageSize, uint64_t physical)
        : stats(stats), pageBytes(pageSize), physical(physical) {}
    std::optional<VMStatistics> statistics() override { return stats; }
    uint64_t pageSize() override { return pageBytes; }
    uint64_t physicalMemory() override { return physical; }
    std::optional<VMStatistics> stats;
    uint64_t pageBytes;
    uint64_t physical;
};

TEST(MemorySamplerTest, BuildsTheFiguresFromPageCounts) {
    constexpr uint64_t kGiB = 1ull << 30;
    struct Row {
        const char* what;
        std::optional<VMStatistics> stats;
        uint64_t pageSize;
        uint64_t physical;
        std::vector<MemorySample> expected;
    };
    for (const Row& row :
         {Row{"used is active + wired + compressor; application memory is not added again",
              VMStatistics{
                  .active = 1000, .wire = 200, .compressor = 50, .internal = 900, .purgeable = 100},
              4096,
              10'000 * 4096,
              {{.usedBytes = 1250 * 4096,
              .totalBytes = 10'000 * 4096,
              .pressurePercent = 12.5,
              .appBytes = 800 * 4096,
              .wiredBytes = 200 * 4096,
              .compressedBytes = 50 * 4096}}},
          Row{"purgeable above internal gives no application memory, not a wrapped number",
              VMStatistics{.active = 10, .internal = 5, .purgeable = 6},
              16384,
              1000 * 16384,
              {{.usedBytes = 10 * 16384, .totalBytes = 1000 * 16384, .pressurePercent = 1}}},
          Row{"no physical memory reported gives pressure 0",
              VMStatistics{.active = 10},
              4096,
              0,
              {{.usedBytes = 10 * 4096}}},
          Row{"used above physical memory is shown as it is",
              VMStatistics{.active = 3 * kGiB / 4096},
              4096,
              2 * kGiB,
              {{.usedBytes = 3 * kGiB, .totalBytes = 2 * kGiB, .pressurePercent = 150}}},
          Row{"unreadable statistics deliver nothing", std::nullopt, 4096, kGiB, {}}}) {
        EXPECT_EQ(samplesOf<MemorySampler>(
                      1, std::make_unique<FixedMemory>(row.stats, row.pageSize, row.physical)),
                  row.expected)
            << row.what;
    }
}

}  // namespace
}  // namespace glintdeck
