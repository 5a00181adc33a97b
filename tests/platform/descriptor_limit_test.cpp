#include "platform/linux/descriptor_limit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace glintdeck {
namespace {

TEST(DescriptorLimitTest, KeptFilesLeaveAMarginAndStayBelowTheCap) {
    struct Row {
        uint64_t descriptorLimit;
        size_t kept;
    };
    for (const Row& row : {
             Row{0, 0}, Row{256, 0},  // nothing to spare: every file is reopened
             Row{300, 44},            // the least margin
             Row{1024, 768},          // the usual soft limit, where raising it failed
             Row{20000, 15000},       // a quarter left for the rest of the program
             Row{32768, 16384},       // what raiseDescriptorLimit() asks for
             Row{524288, 16384}, Row{std::numeric_limits<uint64_t>::max(), 16384},  // unlimited
         }) {
        EXPECT_EQ(keptFileLimitFor(row.descriptorLimit), row.kept) << row.descriptorLimit;
    }
}

}  // namespace
}  // namespace glintdeck
