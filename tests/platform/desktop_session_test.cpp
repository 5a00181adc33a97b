#include "platform/linux/desktop_session.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

TEST(DesktopSessionTest, EitherVariableMakesAWaylandSession) {
    struct Row {
        std::string_view waylandDisplay, sessionType;
        bool wayland;
    };
    for (const Row& row : {Row{"", "", false}, Row{"", "x11", false}, Row{"wayland-0", "", true},
                           Row{"", "wayland", true}, Row{"", "Wayland", true},
                           Row{"wayland-1", "x11", true}, Row{"", "tty", false}}) {
        EXPECT_EQ(DesktopSession::fromVariables(row.waylandDisplay, row.sessionType, "").wayland,
                  row.wayland)
            << row.waylandDisplay << " / " << row.sessionType;
    }
}

TEST(DesktopSessionTest, TheDesktopListIsSplitAtColonsAndMatchedWithoutCase) {
    const DesktopSession session = DesktopSession::fromVariables("", "", "ubuntu::GNOME:");
    EXPECT_EQ(session.desktops, (std::vector<std::string>{"ubuntu", "GNOME"}));
    EXPECT_TRUE(session.isDesktop("gnome"));
    EXPECT_FALSE(session.isDesktop("GNOME-Classic"));
    EXPECT_FALSE(DesktopSession::fromVariables("", "", "").isDesktop(""));
}

}  // namespace
}  // namespace glintdeck
