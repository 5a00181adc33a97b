#include "platform/linux/proc_loadavg_reader.h"

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace glintdeck {
namespace {

int readFixture(const char* fixture, std::array<double, 3>& values) {
    ProcLoadAverageReader reader(fixtureRoot(fixture));
    return reader.loadAverages(values);
}

TEST(ProcLoadAverageReaderTest, ReadsTheThreeAverages) {
    std::array<double, 3> values{};
    ASSERT_EQ(readFixture("many-core", values), 3);
    EXPECT_EQ(values, (std::array<double, 3>{101.37, 98.02, 87.55}));
    ASSERT_EQ(readFixture("vm-steal", values), 3);
    EXPECT_EQ(values, (std::array<double, 3>{0.00, 0.01, 0.05}));
}

TEST(ProcLoadAverageReaderTest, TruncatedGarbageOrMissingFilesFail) {
    for (const char* fixture : {"truncated", "garbage", "no-such-machine"}) {
        std::array<double, 3> values{};
        EXPECT_EQ(readFixture(fixture, values), -1) << fixture;
    }
}

}  // namespace
}  // namespace glintdeck
