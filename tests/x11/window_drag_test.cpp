#include "shell/x11/window_drag.h"

#include "shell/panel_window_controller.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>
#include <vector>

#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

// Without a window manager nobody answers the move request, so the window follows the
// pointer by hand (the strip's drag below follows it step by step).
TEST(WindowDrag, StartsOnlyWithAButtonDownOneAtATimeAndReportsOnceAtTheRelease) {
    OtherClient other;
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 50);
    window.show();
    ASSERT_TRUE(runUntil([&] { return window.windowHandle()->isExposed(); }));

    WindowDrag drag;
    int finished = 0;
    auto onFinished = [&](QPoint) { ++finished; };
    EXPECT_FALSE(drag.start(window, onFinished)) << "no button down, nothing to follow";
    other.movePointer(150, 120);
    other.button(1, true);
    ASSERT_TRUE(drag.start(window, onFinished));
    EXPECT_FALSE(drag.start(window, onFinished)) << "one drag at a time";
    other.movePointer(250, 300);
    EXPECT_TRUE(runUntil([&] { return window.pos() == QPoint(200, 280); }));
    other.button(1, false);
    EXPECT_TRUE(runUntil([&] { return finished == 1; }));
    EXPECT_FALSE(drag.active());
}

// The strip's gesture reports many times while the pointer moves; the controller starts one
// drag, ignores the moves it makes, and reports the final place once.
TEST(StripDrag, ReportsTheFinalOriginExactlyOnce) {
    OtherClient other;
    testing::EventBarrier barrier(other);
    PanelWindowController controller;
    std::vector<Point> moves;
    controller.setOnPanelMoved([&](Point p) { moves.push_back(p); });
    auto view = std::make_unique<QWidget>();
    view->setFixedSize(300, 40);
    controller.showStrip(PanelAnchor::topCenter, std::nullopt, std::move(view));
    QWidget* panel = controller.panel();
    ASSERT_TRUE(runUntil([&] { return panel->windowHandle()->isExposed(); }));
    const QPoint start = panel->pos();

    other.movePointer(start.x() + 150, start.y() + 20);
    other.button(1, true);
    controller.handleDrag({}, false);
    for (int step = 1; step <= 4; ++step) {
        other.movePointer(start.x() + 150 + 20 * step, start.y() + 20 + 10 * step);
        controller.handleDrag({}, false);
        ASSERT_TRUE(runUntil([&] { return panel->pos() == start + QPoint(20, 10) * step; }));
    }
    other.button(1, false);
    controller.handleDrag({}, true);
    ASSERT_TRUE(runUntil([&] { return !moves.empty(); }));
    ASSERT_TRUE(barrier.pass());
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], controller.panelFrame()->origin());
    EXPECT_EQ(controller.lastAppliedOrigin(), moves[0]);
}

}  // namespace
}  // namespace glintdeck
