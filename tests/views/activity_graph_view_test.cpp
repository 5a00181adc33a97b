#include "views/activity_graph_view.h"

#include <gtest/gtest.h>

#include "tests/views/view_test_support.h"

namespace glintdeck {
namespace {

using namespace testing_support;

GraphSeries quiet() { return {.values = {0, 0, 0}, .label = "CPU", .peak = 100}; }

// The baseline is the only thing an idle graph draws. One-series graphs (CPU, memory, GPU) once
// drew it on the row below the widget, where it was clipped away.
TEST(ActivityGraphViewTest, TheBaselineRowIsInkedOnOneAndTwoSeriesGraphs) {
    for (const auto& [data, baselineRow] :
         {std::pair{GraphData{.upper = quiet()}, 43}, {{.upper = quiet(), .lower = quiet()}, 22}}) {
        ActivityGraphView graph(QSizeF(220, 44), 2, 1);
        graph.setStyle(darkStyle());
        graph.setData(data);
        const QImage image = rendered(&graph);
        for (int y = 0; y < image.height(); ++y) {
            const bool inked = qAlpha(image.pixel(110, y)) > 0;
            EXPECT_EQ(inked, y == baselineRow) << "row " << y;
        }
        EXPECT_GT(qAlpha(image.pixel(0, baselineRow)), 0) << "the line spans the width";
        EXPECT_GT(qAlpha(image.pixel(219, baselineRow)), 0);
    }
}

}  // namespace
}  // namespace glintdeck
