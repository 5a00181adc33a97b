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

TEST(DesktopShortcutTexts, InstructionsSpeakEachDesktopsLanguage) {
    struct Row {
        ShortcutDesktop desktop;
        const char* command;
        BindingInstruction expected;
    };
    for (const Row& row : {
             Row{ShortcutDesktop::sway,
                 "glintdeck",
                 {"Add “bindsym Ctrl+Mod1+Mod4+q exec glintdeck” to your sway config, then "
                  "reload it.",
                  "bindsym Ctrl+Mod1+Mod4+q exec glintdeck"}},
             Row{ShortcutDesktop::hyprland,
                 "/opt/glint deck/glintdeck",
                 {"Add “bind = CTRL ALT SUPER, q, exec, '/opt/glint deck/glintdeck'” to your "
                  "hyprland.conf.",
                  "bind = CTRL ALT SUPER, q, exec, '/opt/glint deck/glintdeck'"}},
             // A custom shortcut needs its combination as well as its command.
             Row{ShortcutDesktop::gnome,
                 "glintdeck",
                 {"In Settings › Keyboard › Keyboard Shortcuts, add a custom shortcut that runs "
                  "“glintdeck”, for example on Ctrl+Alt+Super+Q.",
                  "glintdeck"}},
             Row{ShortcutDesktop::kde,
                 "it's/glintdeck",
                 {"In System Settings › Shortcuts, add a custom shortcut that runs "
                  "“'it'\\''s/glintdeck'”, for example on Ctrl+Alt+Super+Q.",
                  "'it'\\''s/glintdeck'"}},
         }) {
        EXPECT_EQ(bindingInstruction(row.desktop, kSummon, "q", row.command), row.expected);
    }
}

}  // namespace
}  // namespace glintdeck
