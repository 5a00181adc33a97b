#include "shell/window_drag.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;
using testing::waitUntil;

// Without a window manager nobody answers the move request, so the window follows the
// pointer by hand.
TEST(WindowDrag, FollowsThePointerUntilReleaseAndReportsOnce) {
    OtherClient other;
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 50);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.windowHandle()->isExposed(); }));

    WindowDrag drag;
    int finished = 0;
    QPoint reported;
    EXPECT_FALSE(drag.start(window, [&](QPoint) { ++finished; })) << "no button down, nothing to follow";

    other.movePointer(150, 120);
    other.buttonDown(1);
    ASSERT_TRUE(drag.start(window, [&](QPoint topLeft) {
        ++finished;
        reported = topLeft;
    }));
    EXPECT_FALSE(drag.start(window, [&](QPoint) { ++finished; })) << "one drag at a time";
    other.movePointer(250, 300);
    EXPECT_TRUE(waitUntil([&] { return window.pos() == QPoint(200, 280); }));
    other.movePointer(260, 310);
    EXPECT_TRUE(waitUntil([&] { return window.pos() == QPoint(210, 290); }));
    other.buttonUp(1);
    EXPECT_TRUE(waitUntil([&] { return finished == 1; }));
    EXPECT_EQ(reported, QPoint(210, 290));
    EXPECT_FALSE(drag.active());
}

}  // namespace
}  // namespace glintdeck
