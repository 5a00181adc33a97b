#include <gtest/gtest.h>

#include <QRegion>
#include <cmath>
#include <numbers>

#include "shell/panel_shape.h"

namespace glintdeck {
namespace {

int area(const QRegion& region) {
    int total = 0;
    for (const QRect& rect : region) total += rect.width() * rect.height();
    return total;
}

// The outline is what a user sees of the strip without a compositing manager: four equal
// corners, straight edges, nothing cut from the middle.
TEST(RoundedRectRegion, CutsFourEqualCornersAndKeepsTheEdges) {
    const QSize size(200, 41);
    const QRegion region = roundedRectRegion(size, 10);
    EXPECT_EQ(region.boundingRect(), QRect(QPoint(0, 0), size));
    for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 40), QPoint(199, 40),
                                QPoint(2, 2), QPoint(197, 38)}) {
        EXPECT_FALSE(region.contains(corner)) << corner.x() << "," << corner.y();
    }
    for (const QPoint kept : {QPoint(10, 0), QPoint(189, 40), QPoint(0, 10), QPoint(199, 30),
                              QPoint(100, 20), QPoint(3, 3), QPoint(196, 37)}) {
        EXPECT_TRUE(region.contains(kept)) << kept.x() << "," << kept.y();
    }
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool in = region.contains(QPoint(x, y));
            ASSERT_EQ(in, region.contains(QPoint(size.width() - 1 - x, y))) << x << "," << y;
            ASSERT_EQ(in, region.contains(QPoint(x, size.height() - 1 - y))) << x << "," << y;
        }
    }
    const double cut = (4 - std::numbers::pi) * 10 * 10;
    EXPECT_NEAR(area(region), size.width() * size.height() - cut, 8);
}

TEST(RoundedRectRegion, OutOfRangeRadiiAndSizesStayWhole) {
    for (double radius : {0.0, -4.0, 0.1}) {
        EXPECT_EQ(roundedRectRegion(QSize(30, 10), radius), QRegion(0, 0, 30, 10)) << radius;
    }
    EXPECT_TRUE(roundedRectRegion(QSize(0, 10), 4).isEmpty());
    EXPECT_TRUE(roundedRectRegion(QSize(30, -1), 4).isEmpty());

    // A radius past half the height makes a pill, not a hole or a crossed span.
    const QRegion pill = roundedRectRegion(QSize(40, 11), 50);
    EXPECT_EQ(pill.boundingRect(), QRect(0, 0, 40, 11));
    EXPECT_TRUE(pill.contains(QPoint(0, 5)) && pill.contains(QPoint(20, 0)));
    EXPECT_FALSE(pill.contains(QPoint(0, 0)));
}

}  // namespace
}  // namespace glintdeck
