#include "platform/linux/proc_stat_reader.h"

#include <gtest/gtest.h>

#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_pid_stat.h"
#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

TEST(ProcStatReaderTest, ReadsTheAggregateLineOfRealCaptures) {
    for (const auto& [fixture, expected] :
         std::vector<std::pair<const char*, std::optional<CPUTicks>>>{
             // cpu  1599 0 1221 64682 315 0 53 1 0 0
             {"this-vm", CPUTicks{.user = 1599, .system = 1221 + 53 + 1, .idle = 64682 + 315}},
             // 128 processors and a 4000-entry intr line after the aggregate
             {"many-core", CPUTicks{.user = 98765432,
                           .system = 45678901 + 34567,
                           .idle = 987654321 + 23456,
                           .nice = 1234}},
             // a guest whose hypervisor stole 1000 ticks: busy, not idle
             {"vm-steal",
              CPUTicks{.user = 4705, .system = 584 + 23 + 1000, .idle = 3699 + 23, .nice = 356}},
             {"truncated", std::nullopt},
             {"garbage", std::nullopt},
             {"no-such-machine", std::nullopt},
         }) {
        EXPECT_EQ(ProcStatReader(fixtureRoot(fixture)).read(), expected) << fixture;
    }
    EXPECT_TRUE(ProcStatReader("/").read().has_value());
}

// Old kernels print four fields; counters past 32 bits are truncated for wrapping deltas.
TEST(ProcStatReaderTest, OldKernelsParseAndWideCountersAreTruncated) {
    EXPECT_EQ(parseProcStatCPU("cpu  10 20 30 40\n"),
              (ProcStatCPU{.user = 10, .nice = 20, .system = 30, .idle = 40}));
    EXPECT_EQ(parseProcStatCPU("cpu0 10 20 30 40\n"), std::nullopt) << "not the aggregate line";
    EXPECT_EQ(toCPUTicks(ProcStatCPU{.user = (1ull << 32) + 5, .idle = 7}),
              (CPUTicks{.user = 5, .idle = 7}));
}

TEST(ProcLoadAverageReaderTest, ReadsTheThreeAveragesOrFails) {
    struct Row {
        const char* fixture;
        int read;
        std::array<double, 3> expected;
    };
    for (const Row& row : {
             Row{"many-core", 3, {101.37, 98.02, 87.55}},
             Row{"vm-steal", 3, {0.00, 0.01, 0.05}},
             Row{"truncated", -1, {}},
             Row{"garbage", -1, {}},
             Row{"no-such-machine", -1, {}},
         }) {
        std::array<double, 3> values{};
        EXPECT_EQ(ProcLoadAverageReader(fixtureRoot(row.fixture)).loadAverages(values), row.read)
            << row.fixture;
        EXPECT_EQ(values, row.expected) << row.fixture;
    }
}

TEST(ProcPidStatTest, ReadsTheFieldsAfterTheLastParenthesis) {
    for (const auto& [text, expected] :
         std::vector<std::pair<const char*, std::optional<ProcPidStat>>>{
             // captured: this machine's cat
             {"15992 (cat) R 15989 15989 5844 0 -1 4194304 100 0 0 0 3 1 0 0 20 0 1 0 108082 "
              "3133440 383 18446744073709551615 94159404314624 94159404334505 0 0 0 0 0 0 0 "
              "0 0 17 1 0 0 0 0 0\n",
              ProcPidStat{15992, "cat", 3, 1, 108082, 383, {94159404314624, 94159404334505, 0}}},
             // a name with spaces and parentheses that mimic the fields after it
             {"300 (a) S 1 2 (b) x) S 1 300 300 0 -1 4194560 1 0 3 0 1400 200 0 0 20 0 4 0 "
              "8000 30720000 2500 18446744073709551615 0\n",
              ProcPidStat{300, "a) S 1 2 (b) x", 1400, 200, 8000, 2500}},
             // older kernels printed the resident count signed
             {"9 (x) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 -1 0\n",
              ProcPidStat{9, "x", 5, 6, 77, 0}},
             {"12 (short) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0\n", std::nullopt},
             {"12 short S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 4 0\n", std::nullopt},
             {"x (y) S 1 1 1 0 -1 0 0 0 0 0 5 6 0 0 20 0 1 0 77 0 4 0\n", std::nullopt},
             {"", std::nullopt},
         }) {
        EXPECT_EQ(parseProcPidStat(text), expected) << text;
    }
}

}  // namespace
}  // namespace glintdeck
