#include "shell/focus_away_monitor.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenu>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "shell/floating_window.h"
#include "shell/panel_host.h"
#include "shell/window_activation.h"
#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

// Panels as a Wayland session has them (they take the keyboard), on a server without a window
// manager, where a focus request is simply granted.
class FocusAway : public ::testing::Test {
  protected:
    void SetUp() override {
        place(strip, {100, 100, 300, 40});
        place(card, {100, 150, 300, 200});
    }

    static void place(PanelHost& panel, QRect frame) {
        auto content = std::make_unique<QWidget>();
        content->setFixedSize(frame.size());
        panel.setContent(std::move(content));
        panel.move(frame.topLeft());
    }

    // Shows the window and waits until it has the keyboard.
    [[nodiscard]] bool focusOn(QWidget& window) {
        activateWindow(window, std::nullopt);
        return runUntil([&] { return QGuiApplication::focusWindow() == window.windowHandle(); });
    }

    OtherClient other;
    testing::EventBarrier barrier{other};
    PanelHost strip{SessionKind::wayland};
    PanelHost card{SessionKind::wayland};
    int left = 0;
    int escapes = 0;
};

// A menu of ours holds the keyboard like our panels do, until it moves on; then the menu closes.
TEST_F(FocusAway, TheKeyboardMovingToAnotherProgramIsLeavingMovingAmongOursIsNot) {
    ASSERT_TRUE(focusOn(strip));
    FocusAwayMonitor monitor([&] { ++left; }, [&] { ++escapes; });
    ASSERT_TRUE(focusOn(card));
    ASSERT_TRUE(focusOn(strip));
    QMenu menu;
    menu.addAction(QStringLiteral("Keep on Screen"));
    menu.popup(QPoint(120, 120));
    ASSERT_TRUE(runUntil([&] { return menu.windowHandle() && menu.windowHandle()->isExposed(); }));
    ASSERT_EQ(left, 0);
    other.showFocusedWindow(500, 400, 200, 100);
    EXPECT_TRUE(runUntil([&] { return left == 1; }));
    EXPECT_FALSE(menu.isVisible());

    ASSERT_TRUE(focusOn(card));
    other.focus(other.root());  // the keyboard on the desktop itself
    EXPECT_TRUE(runUntil([&] { return left == 2; })) << "each time ours held it, once";
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(escapes, 0);
}

TEST_F(FocusAway, EscInAFloatingPanelIsReportedOtherWindowsKeepTheirOwn) {
    FocusAwayMonitor monitor([&] { ++left; }, [&] { ++escapes; });
    for (QWidget* panel : {static_cast<QWidget*>(&strip), static_cast<QWidget*>(&card)}) {
        ASSERT_TRUE(focusOn(*panel));
        const int before = escapes;
        other.typeCombination({testing::keys::escape});
        EXPECT_TRUE(runUntil([&] { return escapes == before + 1; }));
    }

    QWidget settings;  // an ordinary window of ours, such as the settings window
    settings.setGeometry(500, 100, 200, 100);
    ASSERT_TRUE(focusOn(settings));
    other.typeCombination({testing::keys::escape});
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(escapes, 2);
    EXPECT_EQ(left, 0) << "an ordinary window of ours holds the keyboard too";
}

}  // namespace
}  // namespace glintdeck
