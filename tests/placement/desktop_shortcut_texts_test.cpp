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
    struct Row {
        uint32_t modifiers;
        const char* keysym;
        const char* trigger;
    };
    for (const Row& row : {
             Row{kSummon, "q", "CTRL+ALT+LOGO+q"},
             Row{HotKeyBinding::command | HotKeyBinding::shift, "comma", "SHIFT+LOGO+comma"},
             Row{HotKeyBinding::shift | HotKeyBinding::option | HotKeyBinding::control |
                     HotKeyBinding::command,
                 "F5", "CTRL+ALT+SHIFT+LOGO+F5"},
             Row{0, "Escape", "Escape"},
         }) {
        EXPECT_EQ(portalTrigger(row.modifiers, row.keysym), row.trigger);
    }
}

// What the user pastes, in each desktop's own syntax and quoted for its shell; the sentence
// around it names it.
TEST(DesktopShortcutTexts, InstructionsSpeakEachDesktopsLanguage) {
    struct Row {
        ShortcutDesktop desktop;
        const char* command;
        const char* copyText;
    };
    for (const Row& row : {
             Row{ShortcutDesktop::sway, "glintdeck", "bindsym Ctrl+Mod1+Mod4+q exec glintdeck"},
             Row{ShortcutDesktop::hyprland, "/opt/glint deck/glintdeck",
                 "bind = CTRL ALT SUPER, q, exec, '/opt/glint deck/glintdeck'"},
             Row{ShortcutDesktop::gnome, "glintdeck", "glintdeck"},
             Row{ShortcutDesktop::kde, "it's/glintdeck", "'it'\\''s/glintdeck'"},
         }) {
        BindingInstruction said = bindingInstruction(row.desktop, kSummon, "q", row.command);
        EXPECT_EQ(said.copyText, row.copyText);
        EXPECT_NE(said.sentence.find(row.copyText), std::string::npos) << said.sentence;
    }
    // A custom shortcut needs its combination as well as its command.
    EXPECT_NE(bindingInstruction(ShortcutDesktop::gnome, kSummon, "q", "g")
                  .sentence.find("Ctrl+Alt+Super+Q"),
              std::string::npos);
}

}  // namespace
}  // namespace glintdeck
