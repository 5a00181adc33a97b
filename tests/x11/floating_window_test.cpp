#include "shell/floating_window.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QToolTip>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "shell/panel_shape.h"
#include "shell/x11/compositing_watcher.h"
#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

class FloatingPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        makeFloatingPanel(panel);
        nameFloatingPanel(panel, "Glintdeck", "glintdeck");
        panel.setGeometry(100, 100, 300, 40);
    }

    [[nodiscard]] uint32_t panelId() const { return static_cast<uint32_t>(panel.winId()); }

    [[nodiscard]] bool hasStates() {
        const std::vector<uint32_t> states = other.property32(panelId(), "_NET_WM_STATE");
        return std::ranges::all_of(
            std::vector<std::string>{"_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE",
                                     "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"},
            [&](const std::string& name) {
                return std::ranges::find(states, other.atom(name)) != states.end();
            });
    }

    OtherClient other;
    QWidget panel;
};

// A panel never becomes the active window: the keyboard stays with the window that has it, even
// for a click on the panel. Qt shows tooltips only in the active window unless told otherwise:
// the settings button's tooltip (the key that opens settings, the tiles left out for lack of
// room) never appeared.
TEST_F(FloatingPanel, LeavesTheKeyboardWithTheFocusedWindowAndStillShowsTooltips) {
    const uint32_t editor = other.showFocusedWindow(400, 300, 200, 100);
    panel.setToolTip(QStringLiteral("Settings (Super+,)"));
    showFloatingPanel(panel);
    ASSERT_TRUE(runUntil([&] { return panel.windowHandle()->isExposed(); }));
    other.movePointer(150, 120);
    other.movePointer(160, 121);
    EXPECT_TRUE(runUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Settings (Super+,)"));
    QToolTip::hideText();
    other.click(1, 150, 110);
    testing::EventBarrier barrier(other);
    ASSERT_TRUE(barrier.pass());
    other.sync();
    EXPECT_EQ(other.focusedWindow(), editor);
}

TEST_F(FloatingPanel, AsksForEveryDesktopAboveAllOutOfTaskBarsOnEveryShow) {
    for (int show = 1; show <= 2; ++show) {
        showFloatingPanel(panel);
        ASSERT_TRUE(runUntil([&] { return panel.windowHandle()->isExposed(); }));
        other.sync();
        EXPECT_TRUE(hasStates()) << "show " << show;
        EXPECT_EQ(other.property32(panelId(), "_NET_WM_DESKTOP"),
                  std::vector<uint32_t>{0xFFFFFFFF});
        // Window managers remove both properties from a withdrawn window.
        panel.hide();
        xcb_delete_property(other.connection(), panelId(), other.atom("_NET_WM_STATE"));
        xcb_delete_property(other.connection(), panelId(), other.atom("_NET_WM_DESKTOP"));
        other.sync();
    }
    EXPECT_EQ(other.propertyText(panelId(), XCB_ATOM_WM_CLASS),
              std::string("glintdeck\0glintdeck\0", 20));
    EXPECT_EQ(other.propertyText(panelId(), XCB_ATOM_WM_NAME), "Glintdeck");
}

TEST(CompositingWatcher, FollowsTheManagersSelection) {
    OtherClient manager;
    CompositingWatcher watcher;
    ASSERT_FALSE(watcher.active()) << "Xvfb starts without a compositing manager";
    QWidget panel;
    makeFloatingPanel(panel);
    panel.resize(200, 40);
    PanelShape shape(panel, watcher, 10);
    EXPECT_FALSE(panel.mask().isEmpty()) << "no manager: the rounded shape must be cut";

    // What a compositing manager does when it starts: own _NET_WM_CM_S0 with a window of its
    // own. It stops by destroying that window.
    xcb_connection_t* conn = manager.connection();
    const uint32_t owner = xcb_generate_id(conn);
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, owner, manager.root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(conn, owner, manager.atom("_NET_WM_CM_S0"), XCB_CURRENT_TIME);
    manager.sync();
    EXPECT_TRUE(runUntil([&] { return watcher.active(); }));
    EXPECT_TRUE(panel.mask().isEmpty()) << "with a manager the window is translucent, unmasked";

    xcb_destroy_window(conn, owner);
    manager.sync();
    EXPECT_TRUE(runUntil([&] { return !watcher.active(); }));
    EXPECT_FALSE(panel.mask().isEmpty());
}

}  // namespace
}  // namespace glintdeck
