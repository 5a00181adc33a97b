#include "shell/placement/desktop_shortcut_texts.h"

#include <gtest/gtest.h>

#include "settings/hot_key_binding.h"

namespace glintdeck {
namespace {

constexpr uint32_t kSummon =
    HotKeyBinding::control | HotKeyBinding::option | HotKeyBinding::command;

// The portal's backends parse exactly this spelling; "Ctrl+Alt+Super+Q" or "<Control>q" bind
// nothing without a word.
TEST(DesktopShortcutTexts, PortalTriggersListModifiersInTheDocumentedOrder) {
    for (auto [modifiers, keysym, trigger] : {
             std::tuple{kSummon, "q", "CTRL+ALT+LOGO+q"},
             {HotKeyBinding::command | HotKeyBinding::shift, "comma", "SHIFT+LOGO+comma"},
             {kSummon | HotKeyBinding::shift, "F5", "CTRL+ALT+SHIFT+LOGO+F5"},
             {0, "Escape", "Escape"},
         }) {
        EXPECT_EQ(portalTrigger(modifiers, keysym), trigger);
    }
}

// What the user pastes, in each desktop's own syntax and quoted for its shell; the sentence
// around it names it.
TEST(DesktopShortcutTexts, InstructionsSpeakEachDesktopsLanguage) {
    for (auto [desktop, command, copyText] : {
             std::tuple{ShortcutDesktop::sway, "glintdeck",
                        "bindsym Ctrl+Mod1+Mod4+q exec glintdeck"},
             {ShortcutDesktop::hyprland, "/opt/glint deck/glintdeck",
              "bind = CTRL ALT SUPER, q, exec, '/opt/glint deck/glintdeck'"},
             {ShortcutDesktop::gnome, "glintdeck", "glintdeck"},
             {ShortcutDesktop::kde, "it's/glintdeck", "'it'\\''s/glintdeck'"},
         }) {
        BindingInstruction said = bindingInstruction(desktop, kSummon, "q", command);
        EXPECT_EQ(said.copyText, copyText);
        EXPECT_NE(said.sentence.find(copyText), std::string::npos) << said.sentence;
    }
    // A custom shortcut needs its combination as well as its command.
    EXPECT_NE(bindingInstruction(ShortcutDesktop::gnome, kSummon, "q", "g")
                  .sentence.find("Ctrl+Alt+Super+Q"),
              std::string::npos);
}

}  // namespace
}  // namespace glintdeck
