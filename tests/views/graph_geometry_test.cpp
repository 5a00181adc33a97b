#include "views/graph_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace glintdeck {
namespace {

GraphSeries series(std::vector<double> values, double peak = 100) {
    return {.values = std::move(values), .label = "CPU", .peak = peak};
}

std::vector<double> ramp(int count) {
    std::vector<double> values(static_cast<size_t>(count));
    std::iota(values.begin(), values.end(), 1.0);
    return values;
}

TEST(GraphGeometryTest, NewestValuesFillTheRightmostSlots) {
    struct Row {
        int values;
        double width;
        double barWidth, barGap;
        int slots;
        int bars;
        double firstX;  // left edge of the oldest bar shown
        double lastX;   // left edge of the newest bar
    };
    for (Row row : {
             Row{60, 34, 1, 0.5, 22, 22, 0, 31.5},   // tile: 22 slots, older values fall off
             Row{5, 34, 1, 0.5, 22, 5, 25.5, 31.5},  // few values sit in slots 17 to 21
             Row{60, 220, 2, 1, 73, 60, 39, 216},    // detail card, history shorter than slots
             Row{60, 1.2, 1, 0.5, 1, 1, 0, 0},       // narrower than one step: one slot
             Row{3, 34, 0, 0, 1, 1, 0, 0},           // a zero step still draws the newest
         }) {
        GraphGeometry geometry = graphGeometry({.upper = series(ramp(row.values), row.values)},
                                               QSizeF(row.width, 26), row.barWidth, row.barGap);
        SCOPED_TRACE(row.values);
        EXPECT_EQ(geometry.slotCount, row.slots);
        ASSERT_EQ(geometry.upper.size(), static_cast<size_t>(row.bars));
        EXPECT_DOUBLE_EQ(geometry.upper.front().x(), row.firstX);
        EXPECT_DOUBLE_EQ(geometry.upper.back().x(), row.lastX);
        EXPECT_DOUBLE_EQ(geometry.upper.back().width(), row.barWidth);
        // The newest (and largest) value is the one in the rightmost slot.
        EXPECT_DOUBLE_EQ(geometry.upper.back().height(), 26);
    }
}

TEST(GraphGeometryTest, HeightsScaleToThePeakWithAOnePointMinimumAndClipping) {
    // height: nothing: no bar
    for (const auto& [values, height] :
         std::vector<std::pair<std::vector<double>, std::optional<double>>>{{{100}, 44},
                                                                            {{200}, 44},
                                                                            {{50}, 22},
                                                                            {{0.1}, 1},
                                                                            {{0}, std::nullopt},
                                                                            {{-5}, std::nullopt},
                                                                            {{NAN}, std::nullopt},
                                                                            {{INFINITY}, 44},
                                                                            {{}, std::nullopt}}) {
        GraphGeometry geometry =
            graphGeometry({.upper = series(values, 100)}, QSizeF(220, 44), 2, 1);
        SCOPED_TRACE(values.empty() ? -1 : values[0]);
        EXPECT_DOUBLE_EQ(geometry.baseline, 44);
        if (!height) {
            EXPECT_TRUE(geometry.upper.empty());
            continue;
        }
        ASSERT_EQ(geometry.upper.size(), 1u);
        EXPECT_DOUBLE_EQ(geometry.upper[0].height(), *height);
        EXPECT_DOUBLE_EQ(geometry.upper[0].bottom(), 44);  // rises from the baseline
    }
}

TEST(GraphGeometryTest, LowerSeriesHangsBelowAMiddleBaseline) {
    GraphData data{.upper = series({0, 50}, 100), .lower = series({1000, 500, 0.001}, 1000)};
    GraphGeometry geometry = graphGeometry(data, QSizeF(220, 44), 2, 1);
    EXPECT_DOUBLE_EQ(geometry.baseline, 22);
    ASSERT_EQ(geometry.upper.size(), 1u);
    EXPECT_EQ(geometry.upper[0], QRectF(216, 11, 2, 11));
    ASSERT_EQ(geometry.lower.size(), 3u);
    EXPECT_EQ(geometry.lower[0], QRectF(210, 22, 2, 22));  // each series scales by its own peak
    EXPECT_EQ(geometry.lower[1], QRectF(213, 22, 2, 11));
    EXPECT_EQ(geometry.lower[2], QRectF(216, 22, 2, 1));
    GraphGeometry empty =
        graphGeometry({.upper = series({}), .lower = series({})}, QSizeF(34, 22), 1, 0.5);
    EXPECT_TRUE(empty.upper.empty() && empty.lower.empty());
    EXPECT_DOUBLE_EQ(empty.baseline, 11);
}

}  // namespace
}  // namespace glintdeck
