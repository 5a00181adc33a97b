#include "settings/hot_key_binding.h"

#include <gtest/gtest.h>

#include <set>

namespace glintdeck {
namespace {

TEST(HotKeyBindingTest, DisplayStringsOrderModifiersThenNameTheKey) {
    struct Case {
        HotKeyBinding binding;
        std::string display;
        std::string spaced;
    };
    for (const auto& [binding, display, spaced] : std::vector<Case>{
             {{53, 0x1A00}, "⌃⌥⇧⎋", "⌃\u2009⌥\u2009⇧\u2009⎋"},
             {{0, 0}, "A", "A"},
             // Only the four modifier bits have glyphs; caps lock (0x0400) and others are not
             // shown.
             {{36, 0x0400 | 0x0100 | 0x10000}, "⌘↩", "⌘\u2009↩"},
         }) {
        EXPECT_EQ(binding.displayString(), display);
        EXPECT_EQ(binding.spacedDisplayString(), spaced);
    }
}

TEST(HotKeyBindingTest, KeyNamesFollowTheAnsiPositions) {
    struct Case {
        uint32_t code;
        std::string name;
    };
    for (const auto& [code, name] : std::vector<Case>{
             {0, "A"},
             {22, "6"},
             {23, "5"},
             {99, "F3"},
             {118, "F4"},
             {122, "F1"},
             {10, "key 10"},
             {126, "key 126"},
             {4294967295, "key 4294967295"},
         }) {
        EXPECT_EQ(HotKeyBinding::keyName(code), name) << code;
    }
    // Every letter key names one upper-case letter, and no two keys share a name.
    std::set<std::string> names;
    for (uint32_t code = 0; code < 128; ++code) {
        std::string name = HotKeyBinding::keyName(code);
        if (!name.starts_with("key ")) {
            EXPECT_TRUE(names.insert(name).second) << name;
        }
    }
    EXPECT_EQ(names.size(), 58u);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_TRUE(names.contains(std::string(1, letter))) << letter;
    }
}

}  // namespace
}  // namespace glintdeck
