#include "platform/linux/session/desktop_session.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(DesktopSessionTest, EitherVariableMakesAWaylandSession) {
    struct Row {
        std::string_view waylandDisplay, sessionType;
        SessionKind kind;
    };
    const SessionKind x11 = SessionKind::x11, wayland = SessionKind::wayland;
    for (const Row& row : {Row{"", "", x11}, Row{"", "x11", x11}, Row{"wayland-0", "", wayland},
                           Row{"", "wayland", wayland}, Row{"", "Wayland", wayland},
                           Row{"wayland-1", "x11", wayland}, Row{"", "tty", x11}}) {
        EXPECT_EQ(DesktopSession::fromVariables(
                      {.waylandDisplay = row.waylandDisplay, .sessionType = row.sessionType})
                      .kind,
                  row.kind)
            << row.waylandDisplay << " / " << row.sessionType;
    }
}

TEST(DesktopSessionTest, TheDesktopListIsSplitAtColonsAndMatchedWithoutCase) {
    const DesktopSession session =
        DesktopSession::fromVariables({.currentDesktop = "ubuntu::GNOME:"});
    EXPECT_EQ(session.desktops, (std::vector<std::string>{"ubuntu", "GNOME"}));
    EXPECT_TRUE(session.isDesktop("gnome"));
    EXPECT_FALSE(session.isDesktop("GNOME-Classic"));
    EXPECT_FALSE(DesktopSession::fromVariables({}).isDesktop(""));
}

// sway 1.7 names itself only in the variable of its socket, and Debian's session file names no
// desktop either: sway users got the generic instruction.
TEST(DesktopSessionTest, SwayAndHyprlandAreKnownByTheirSockets) {
    using Desktops = std::vector<std::string>;
    EXPECT_EQ(
        DesktopSession::fromVariables({.swaySocket = "/run/user/1000/sway-ipc.sock"}).desktops,
        Desktops{"sway"});
    EXPECT_EQ(DesktopSession::fromVariables({.hyprlandInstance = "v0.40_1715000000"}).desktops,
              Desktops{"Hyprland"});
}

}  // namespace
}  // namespace glintdeck
