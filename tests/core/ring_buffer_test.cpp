#include "core/ring_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace glintdeck {
namespace {

using Strings = std::vector<std::string>;

TEST(RingBufferTest, FillsInArrivalOrderThenRotatesOverTheOldest) {
    RingBuffer<std::string> buffer(3);
    EXPECT_TRUE(buffer.ordered().empty());

    buffer.append("a");
    buffer.append("b");
    EXPECT_EQ(buffer.ordered(), (Strings{"a", "b"}));
    EXPECT_EQ(buffer.writeIndex(), 0);

    buffer.append("c");
    EXPECT_EQ(buffer.ordered(), (Strings{"a", "b", "c"}));
    buffer.append("d");
    EXPECT_EQ(buffer.storage(), (Strings{"d", "b", "c"}));
    EXPECT_EQ(buffer.writeIndex(), 1);
    EXPECT_EQ(buffer.ordered(), (Strings{"b", "c", "d"}));

    buffer.append("e");
    buffer.append("f");
    EXPECT_EQ(buffer.ordered(), (Strings{"d", "e", "f"}));
    EXPECT_EQ(buffer.writeIndex(), 0);
}

TEST(RingBufferTest, CapacityOneHoldsOnlyTheLatest) {
    RingBuffer<int> buffer(1);
    for (int value : {1, 2, 3}) {
        buffer.append(value);
        EXPECT_EQ(buffer.ordered(), std::vector<int>{value});
        EXPECT_EQ(buffer.writeIndex(), 0);
    }
}

}  // namespace
}  // namespace glintdeck
