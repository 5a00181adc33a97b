#include "presentation/tile_value.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(TileValueTest, ModesPickAndMarkTheValues) {
    TwoValueNames network = twoValueNames(StatKind::network).value();
    network.first.text = "1,2 MB/s";
    network.second.text = "80 KB/s";
    EXPECT_EQ(combineValues(TileValueMode::first, network.first, network.second),
              (CombinedValues{.value = "1,2 MB/s", .widestValue = "888 MB/s"}));
    EXPECT_EQ(combineValues(TileValueMode::second, network.first, network.second),
              (CombinedValues{.value = "80 KB/s", .widestValue = "888 MB/s"}));

    TwoValueNames memory = twoValueNames(StatKind::memory).value();
    memory.first.text = "12 GB";
    memory.second.text = "4 GB";
    EXPECT_EQ(combineValues(TileValueMode::bothReversed, memory.first, memory.second),
              (CombinedValues{.value = "F 4 GB",
                              .widestValue = "F 888,88 GB",
                              .secondaryValue = "U 12 GB",
                              .widestSecondaryValue = "U 888,88 GB"}));
}

}  // namespace
}  // namespace glintdeck
