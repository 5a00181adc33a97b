#include "platform/linux/desktop_session.h"

#include <gtest/gtest.h>

#include <map>

namespace glintdeck {
namespace {

using Environment = std::map<std::string, std::string, std::less<>>;

DesktopSession sessionOf(const Environment& environment) {
    return DesktopSession::fromVariables([&environment](const char* name) -> const char* {
        auto found = environment.find(name);
        return found != environment.end() ? found->second.c_str() : nullptr;
    });
}

TEST(DesktopSessionTest, EitherVariableMakesAWaylandSession) {
    struct Row {
        Environment environment;
        bool wayland;
    };
    for (const Row& row :
         {Row{{}, false}, Row{{{"XDG_SESSION_TYPE", "x11"}}, false},
          Row{{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
          Row{{{"XDG_SESSION_TYPE", "wayland"}}, true},
          Row{{{"XDG_SESSION_TYPE", "Wayland"}}, true},
          Row{{{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_SESSION_TYPE", "x11"}}, true},
          Row{{{"WAYLAND_DISPLAY", ""}, {"XDG_SESSION_TYPE", "tty"}}, false}}) {
        EXPECT_EQ(sessionOf(row.environment).wayland, row.wayland)
            << testing::PrintToString(row.environment);
    }
}

TEST(DesktopSessionTest, TheDesktopListIsSplitAtColonsAndMatchedWithoutCase) {
    const DesktopSession session = sessionOf({{"XDG_CURRENT_DESKTOP", "ubuntu::GNOME:"}});
    EXPECT_EQ(session.desktops, (std::vector<std::string>{"ubuntu", "GNOME"}));
    EXPECT_TRUE(session.isDesktop("gnome"));
    EXPECT_FALSE(session.isDesktop("GNOME-Classic"));
    EXPECT_FALSE(sessionOf({}).isDesktop(""));
}

// sway 1.7 names itself nowhere but in the variable of its socket, and Debian's session file
// names no desktop either: without this, sway users got the generic instruction.
TEST(DesktopSessionTest, SwayAndHyprlandAreKnownByTheirSockets) {
    struct Row {
        Environment environment;
        std::vector<std::string> desktops;
    };
    for (const Row& row : {
             Row{{{"SWAYSOCK", "/run/user/1000/sway-ipc.1000.812.sock"}}, {"sway"}},
             Row{{{"SWAYSOCK", "/run/sway.sock"}, {"XDG_CURRENT_DESKTOP", "sway"}}, {"sway"}},
             Row{{{"HYPRLAND_INSTANCE_SIGNATURE", "v0.40_1715000000"},
                  {"XDG_CURRENT_DESKTOP", "Hyprland"}},
                 {"Hyprland"}},
             Row{{{"HYPRLAND_INSTANCE_SIGNATURE", "v0.40_1715000000"}}, {"Hyprland"}},
             Row{{{"SWAYSOCK", ""}, {"XDG_CURRENT_DESKTOP", "KDE"}}, {"KDE"}},
         }) {
        EXPECT_EQ(sessionOf(row.environment).desktops, row.desktops)
            << testing::PrintToString(row.environment);
    }
}

}  // namespace
}  // namespace glintdeck
