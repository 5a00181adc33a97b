#include "platform/linux/proc_stat_reader.h"

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

TEST(ProcStatReaderTest, ReadsTheAggregateLineOfRealCaptures) {
    struct Row {
        const char* fixture;
        CPUTicks expected;
    };
    for (const Row& row : {
             // cpu  1599 0 1221 64682 315 0 53 1 0 0
             Row{"this-vm", {.user = 1599, .system = 1221 + 53 + 1, .idle = 64682 + 315}},
             // 128 processors and a 4000-entry intr line after the aggregate
             Row{"many-core",
                 {.user = 98765432,
                 .system = 45678901 + 34567,
                 .idle = 987654321 + 23456,
                 .nice = 1234}},
             // a guest whose hypervisor stole 1000 ticks: busy, not idle
             Row{"vm-steal",
                 {.user = 4705, .system = 584 + 23 + 1000, .idle = 3699 + 23, .nice = 356}},
         }) {
        ProcStatReader reader(fixtureRoot(row.fixture));
        EXPECT_EQ(reader.read(), row.expected) << row.fixture;
    }
}

TEST(ProcStatReaderTest, UnreadableOrMalformedFilesGiveNoReading) {
    for (const char* fixture : {"truncated", "garbage", "no-such-machine"}) {
        ProcStatReader reader(fixtureRoot(fixture));
        EXPECT_EQ(reader.read(), std::nullopt) << fixture;
    }
}

TEST(ProcStatReaderTest, OldKernelsWithFourFieldsStillParse) {
    EXPECT_EQ(parseProcStatCPU("cpu  10 20 30 40\n"),
              (ProcStatCPU{.user = 10, .nice = 20, .system = 30, .idle = 40}));
    EXPECT_EQ(parseProcStatCPU("cpu0 10 20 30 40\n"), std::nullopt) << "not the aggregate line";
}

TEST(ProcStatReaderTest, CountersPast32BitsAreTruncatedForWrappingDeltas) {
    auto ticks = toCPUTicks(ProcStatCPU{.user = (1ull << 32) + 5, .idle = 7});
    EXPECT_EQ(ticks.user, 5u);
    EXPECT_EQ(ticks.idle, 7u);
}

TEST(ProcStatReaderTest, LiveProcStatReadsAndAdvances) {
    ProcStatReader reader("/");
    auto first = reader.read();
    ASSERT_TRUE(first.has_value());
    auto second = reader.read();
    ASSERT_TRUE(second.has_value());
    EXPECT_GE(second->idle - first->idle + second->user - first->user, 0u);
}

}  // namespace
}  // namespace glintdeck
