#include "settings/key_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace glintdeck {
namespace {

// What the user reads: the words Linux desktops use, never the stored format's glyphs.
TEST(KeyTextTest, WritesCombinationsAsLinuxDesktopsDo) {
    for (const auto& [binding, text] : std::vector<std::pair<HotKeyBinding, std::string>>{
             {HotKeyBinding::defaultSummon(), "Ctrl+Alt+Super+Q"},
             {{43, HotKeyBinding::command}, "Super+,"},
             {{49, HotKeyBinding::option | HotKeyBinding::shift}, "Alt+Shift+Space"},
             {{53, 0x1A00}, "Ctrl+Alt+Shift+Esc"},
             {{36, 0x0400 | HotKeyBinding::command}, "Super+Return"},  // caps lock not shown
             {{116, HotKeyBinding::command}, "Super+Page Up"},
             {{87, HotKeyBinding::command}, "Super+Num+5"},
             {{105, 0}, "F13"},
             {{200, HotKeyBinding::command}, "Super+key 200"},
         }) {
        EXPECT_EQ(keyText(binding), text);
    }
}

}  // namespace
}  // namespace glintdeck
