#include "platform/linux/meminfo_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

TEST(MeminfoReaderTest, MapsCapturedMachinesOntoPageCounts) {
    struct Row {
        const char* fixture;
        std::optional<VMStatistics> expected;
        uint64_t memTotalKiB;
    };
    for (const Row& row : {
             // used 24683784 - MemAvailable; wire = SUnreclaim + KernelStack + PageTables +
             // Mlocked; an idle zram device holds nothing
             Row{"this-vm",
                 VMStatistics{.active = 165337, .wire = 11950, .compressor = 0, .internal = 88939},
                 24683784},
             // zram's mm_stat holds 361234432 bytes = 88192 pages of compressed memory
             Row{"laptop",
                 VMStatistics{
                     .active = 1355823, .wire = 81485, .compressor = 88192, .internal = 1030864},
                 15978540},
             // no zram; zswap's pool of 131072 kB and SecPageTables count
             Row{"desktop",
                 VMStatistics{
                     .active = 3068412, .wire = 261932, .compressor = 32768, .internal = 2558642},
                 65798124},
             // a kernel before 3.14: used is everything not in MemFree
             Row{"no-memavailable",
                 VMStatistics{
                     .active = 1667851, .wire = 38610, .compressor = 0, .internal = 691358},
                 8060412},
             Row{"no-such-machine", std::nullopt, 0},
         }) {
        MeminfoReader reader(fixtureRoot(row.fixture), 4096);
        EXPECT_EQ(reader.statistics(), row.expected) << row.fixture;
        EXPECT_EQ(reader.physicalMemory(), row.memTotalKiB * 1024) << row.fixture;
    }
}

TEST(MeminfoReaderTest, CountsPagesOfTheSystemsOwnSize) {
    // 64 GiB in 16 KiB pages (arm64 machines), 1 GiB used of which 64 MiB wired.
    Meminfo info{.memTotal = 64ull << 20,
                 .memFree = 1 << 20,
                 .memAvailable = 63ull << 20,
                 .anonPages = 512 << 10,
                 .sUnreclaim = 64 << 10};
    EXPECT_EQ(
        toVMStatistics(info, 16 << 20, 16384),
        (VMStatistics{
            .active = 65536 - 4096 - 1024, .wire = 4096, .compressor = 1024, .internal = 32768}));
}

TEST(MeminfoReaderTest, OddMeminfoTexts) {
    struct Row {
        const char* what;
        const char* text;
        std::optional<VMStatistics> expected;
    };
    for (const Row& row : {
             Row{"MemAvailable above the total: MemFree stands in",
                 "MemTotal: 1000 kB\nMemFree: 600 kB\nMemAvailable: 2000 kB\n",
                 VMStatistics{.active = 100}},
             Row{"wired above used cannot make active negative",
                 "MemTotal: 1000 kB\nMemFree: 992 kB\nMemAvailable: 992 kB\nSUnreclaim: 40 kB\n",
                 VMStatistics{.active = 0, .wire = 10}},
             Row{"no MemTotal", "MemFree: 600 kB\nMemAvailable: 700 kB\n", std::nullopt},
             Row{"no MemFree", "MemTotal: 1000 kB\nMemAvailable: 700 kB\n", std::nullopt},
             Row{"a line cut short is skipped",
                 "MemTotal: 1000 kB\nMemFree: 600 kB\nMemAvailable: 600 kB\nAnonPages:",
                 VMStatistics{.active = 100}},
         }) {
        std::optional<Meminfo> info = parseMeminfo(row.text);
        std::optional<VMStatistics> stats;
        if (info) stats = toVMStatistics(*info, 0, 4096);
        EXPECT_EQ(stats, row.expected) << row.what;
    }
}

TEST(MeminfoReaderTest, LiveTotalIsMemTotal) {
    std::ifstream file("/proc/meminfo");
    std::string key;
    uint64_t memTotal = 0;
    file >> key >> memTotal;
    ASSERT_EQ(key, "MemTotal:");
    MeminfoReader reader("/");
    std::optional<VMStatistics> stats = reader.statistics();
    ASSERT_TRUE(stats.has_value());
    EXPECT_EQ(reader.physicalMemory(), memTotal * 1024);
    EXPECT_LE(reader.pageSize() * (stats->active + stats->wire + stats->compressor),
              reader.physicalMemory());
}

}  // namespace
}  // namespace glintdeck
