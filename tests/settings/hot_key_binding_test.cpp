#include "settings/hot_key_binding.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(HotKeyBindingTest, KeysAreNamedByTheirAnsiPositionAndTheRestByTheirCode) {
    EXPECT_EQ(HotKeyBinding::keyName(0), "A");
    EXPECT_EQ(HotKeyBinding::keyName(22), "6");
    EXPECT_EQ(HotKeyBinding::keyName(122), "F1");
    EXPECT_EQ(HotKeyBinding::keyName(10), "key 10");
    EXPECT_EQ(HotKeyBinding::keyName(4294967295), "key 4294967295");
}

}  // namespace
}  // namespace glintdeck
