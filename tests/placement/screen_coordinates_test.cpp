#include "shell/placement/screen_coordinates.h"

#include <gtest/gtest.h>

#include "shell/placement/placement.h"

namespace glintdeck {
namespace {

// Two screens in Qt's coordinates: a 1920 × 1080 primary, and a 1280 × 1024 screen to its left
// whose top is 200 pixels lower, so the virtual desktop's origin is not the primary's corner.
const Rect primaryQt{1280, 0, 1920, 1080};
const Rect secondaryQt{0, 200, 1280, 1024};

TEST(ScreenCoordinates, MeasureFromThePrimaryScreensBottomLeftUpwardsAndBack) {
    EXPECT_EQ(screenRectFromQt(primaryQt, primaryQt), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(screenRectFromQt(secondaryQt, primaryQt), (Rect{-1280, -144, 1280, 1024}));
    // A 400 × 36 window 44 pixels above the primary's bottom edge.
    EXPECT_EQ(screenRectFromQt({1380, 1000, 400, 36}, primaryQt), (Rect{100, 44, 400, 36}));
    EXPECT_EQ(screenPointFromQt({1280, 0}, primaryQt), (Point{0, 1079}));
    EXPECT_EQ(screenPointFromQt({10, 1223}, primaryQt), (Point{-1270, -144}));
    // And back.
    for (const Rect& r : {Rect{1380, 1000, 400, 36}, secondaryQt}) {
        EXPECT_EQ(qtRectFromScreen(screenRectFromQt(r, primaryQt), primaryQt), r);
    }
    for (const Point& p : {Point{0, 0}, Point{1279, 1223}, Point{3199, 1079}}) {
        EXPECT_EQ(qtPointFromScreen(screenPointFromQt(p, primaryQt), primaryQt), p);
    }
}

// A pointer on the first or last pixel row or column of a screen is on that screen; the topmost
// row once fell to the screen above it (or the primary).
TEST(ScreenCoordinates, EveryEdgePixelOfAScreenIsOnThatScreen) {
    const Rect aboveQt{1280, -900, 1600, 900};  // a third screen above the primary
    ScreenLayout layout;
    for (const Rect& qt : {primaryQt, secondaryQt, aboveQt}) {
        const Rect frame = screenRectFromQt(qt, primaryQt);
        layout.screens.push_back({frame, frame});
    }
    struct Row {
        Point qtPointer;
        size_t screen;
    };
    for (const Row& row :
         {Row{{1280, 0}, 0}, Row{{3199, 0}, 0}, Row{{2000, 1079}, 0}, Row{{0, 200}, 1},
          Row{{1279, 200}, 1}, Row{{600, 1223}, 1}, Row{{1280, -900}, 2}, Row{{2879, -1}, 2}}) {
        const Point pointer = screenPointFromQt(row.qtPointer, primaryQt);
        EXPECT_EQ(screenContaining(layout, pointer), layout.screens[row.screen])
            << row.qtPointer.x << "," << row.qtPointer.y;
    }
}

}  // namespace
}  // namespace glintdeck
