#include "core/ring_buffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace glintdeck {
namespace {

TEST(RingBufferTest, KeepsTheLatestElementsOldestFirstOverwritingTheOldest) {
    struct Row {
        std::ptrdiff_t capacity;
        int appended;  // 1, 2, … in turn
        std::vector<int> ordered;
    };
    for (const Row& row : {
             Row{3, 0, {}},
             Row{3, 2, {1, 2}},
             Row{3, 3, {1, 2, 3}},
             Row{3, 4, {2, 3, 4}},
             Row{3, 6, {4, 5, 6}},
             Row{3, 7, {5, 6, 7}},
             Row{1, 3, {3}},
         }) {
        RingBuffer<int> buffer(row.capacity);
        for (int i = 1; i <= row.appended; ++i) buffer.append(i);
        EXPECT_EQ(buffer.ordered(), row.ordered) << row.capacity << " " << row.appended;
    }
}

}  // namespace
}  // namespace glintdeck
