#include "shell/x11/click_away_monitor.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>
#include <memory>

#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

class ClickAway : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setWindowFlags(Qt::FramelessWindowHint);
        window.setGeometry(100, 100, 200, 100);
        window.show();
        ASSERT_TRUE(runUntil([&] { return window.windowHandle()->isExposed(); }));
        monitor = ClickAwayMonitor::install([&] { ++clicks; });
        ASSERT_NE(monitor, nullptr);
    }

    OtherClient other;
    testing::EventBarrier barrier{other};
    QWidget window;
    std::unique_ptr<ClickAwayMonitor> monitor;
    int clicks = 0;
};

TEST_F(ClickAway, OnlyLeftAndRightPressesOutsideOurWindowsCount) {
    other.click(1, 600, 500);
    other.click(3, 600, 500);
    EXPECT_TRUE(runUntil([&] { return clicks == 2; }));
    other.click(2, 600, 500);  // the middle button
    other.click(4, 600, 500);  // the wheel
    other.click(1, 150, 150);
    other.click(3, 299, 199);  // ours to the last pixel
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(clicks, 2);
    other.click(1, 300, 200);  // just outside: the window ends before its width
    EXPECT_TRUE(runUntil([&] { return clicks == 3; }));
}

// Another program's window over ours takes the clicks there: they once counted as ours because
// Qt still calls the covered window visible (as it does a minimised one, or one on another
// desktop).
TEST_F(ClickAway, PressesOnAnotherProgramsWindowOverOursCount) {
    const uint32_t cover = other.openWindow(120, 90, 100, 60);
    other.click(1, 150, 120);  // over ours, under the cover
    EXPECT_TRUE(runUntil([&] { return clicks == 1; }));
    other.click(1, 250, 180);  // ours, beside the cover
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(clicks, 1);
    other.closeWindow(cover);
    other.click(1, 150, 120);
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(clicks, 1) << "uncovered, the place is ours again";
}

TEST_F(ClickAway, ARemovedMonitorStaysSilentAndLeavesOthersListening) {
    int otherClicks = 0;
    auto otherMonitor = ClickAwayMonitor::install([&] { ++otherClicks; });
    ASSERT_NE(otherMonitor, nullptr);
    other.click(1, 600, 500);
    monitor.reset();  // with the click perhaps still on its way
    other.click(1, 600, 500);
    ASSERT_TRUE(barrier.pass());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(otherClicks, 2);
}

}  // namespace
}  // namespace glintdeck
