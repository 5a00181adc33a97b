#include "views/activity_graph_legend.h"

#include <gtest/gtest.h>

#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"

namespace glintdeck {
namespace {

using namespace testing_support;

std::vector<std::pair<QString, QString>> texts(const GraphData& data) {
    ActivityGraphLegend legend;
    legend.setStyle(darkStyle());
    legend.setData(data);
    std::vector<std::pair<QString, QString>> result;
    for (const auto& entry : legend.entries()) result.emplace_back(entry.title, entry.value);
    EXPECT_TRUE(!result.empty() || legend.sizeHint().isEmpty()) << "an empty legend takes no room";
    return result;
}

using Texts = std::vector<std::pair<QString, QString>>;

TEST(ActivityGraphLegendTest, EntriesOnlyForSeriesWithAFormattedPeak) {
    EXPECT_EQ(texts(*samples::cpu().graph), Texts{}) << "percentages have no peak text";
    EXPECT_EQ(texts(*samples::disk().graph),
              (Texts{{"Peak R", "5,1 MB/s"}, {"Peak W", "1,2 MB/s"}}));
    EXPECT_EQ(texts(*samples::network().graph),
              (Texts{{"Peak ↑", "240 KB/s"}, {"Peak ↓", "2,6 MB/s"}}));

    GraphData unmarked = *samples::disk().graph;
    unmarked.upper.marker.clear();
    unmarked.lower->peakFormatted.reset();
    EXPECT_EQ(texts(unmarked), (Texts{{"Peak Read", "5,1 MB/s"}})) << "label without a marker";
}

}  // namespace
}  // namespace glintdeck
