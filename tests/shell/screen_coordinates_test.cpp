#include "shell/screen_coordinates.h"

#include <gtest/gtest.h>

namespace glintdeck {
namespace {

// Two screens in Qt's coordinates: a 1920 × 1080 primary, and a 1280 × 1024 screen to its left
// whose top is 200 pixels lower, so the virtual desktop's origin is not the primary's corner.
const Rect primaryQt{1280, 0, 1920, 1080};
const Rect secondaryQt{0, 200, 1280, 1024};

TEST(ScreenCoordinates, MeasureFromThePrimaryScreensBottomLeftUpwards) {
    EXPECT_EQ(screenRectFromQt(primaryQt, primaryQt), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(screenRectFromQt(secondaryQt, primaryQt), (Rect{-1280, -144, 1280, 1024}));
    // A 400 × 36 window 44 pixels above the primary's bottom edge.
    EXPECT_EQ(screenRectFromQt({1380, 1000, 400, 36}, primaryQt), (Rect{100, 44, 400, 36}));
    EXPECT_EQ(screenPointFromQt({1280, 0}, primaryQt), (Point{0, 1080}));
    EXPECT_EQ(screenPointFromQt({10, 1223}, primaryQt), (Point{-1270, -143}));
}

TEST(ScreenCoordinates, RoundTripOnBothScreens) {
    for (const Rect& r : {Rect{1380, 1000, 400, 36}, Rect{5, 700, 300, 200}, secondaryQt}) {
        EXPECT_EQ(qtRectFromScreen(screenRectFromQt(r, primaryQt), primaryQt), r);
    }
    for (const Point& p : {Point{0, 0}, Point{1279, 1223}, Point{3199, 1079}}) {
        EXPECT_EQ(qtPointFromScreen(screenPointFromQt(p, primaryQt), primaryQt), p);
    }
}

}  // namespace
}  // namespace glintdeck
