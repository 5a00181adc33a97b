// Views repaint when a field they draw changes, once per event-loop turn however many changes
// arrive, and only the widgets whose fields changed.
#include <gtest/gtest.h>

#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/activity_graph_legend.h"
#include "views/activity_graph_view.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

using namespace testing_support;

std::vector<StripTile> tilesOf(const std::vector<StatDescriptor>& descriptors,
                               TileStyle style = TileStyle::textAndGraph) {
    std::vector<StripTile> tiles;
    for (const StatDescriptor& descriptor : descriptors) {
        tiles.push_back({descriptor.kind, TileContent::from(descriptor, style)});
    }
    return tiles;
}

class LiveUpdateTest : public testing::Test {
  protected:
    void showAndSettle(QWidget& widget) {
        widget.resize(widget.sizeHint());
        widget.show();
        settle();
    }
    void settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        paints_.reset();
    }
    int paintsAfterTurn(QObject* widget) {
        QApplication::processEvents();
        return paints_.count(widget);
    }

    PaintCounter paints_;
};

TEST_F(LiveUpdateTest, ManyChangesInOneTurnPaintOnceAndOnlyTheChangedTile) {
    StatsStripView strip;
    strip.setStyle(darkStyle());
    std::vector<StatDescriptor> descriptors{samples::cpu(), samples::memory(), samples::gpu()};
    strip.setTiles(tilesOf(descriptors));
    showAndSettle(strip);
    for (StatKind kind : {StatKind::cpu, StatKind::memory, StatKind::gpu}) {
        paints_.watch(strip.tile(kind));
        paints_.watch(strip.tile(kind)->findChild<ActivityGraphView*>());
    }
    paints_.watch(&strip);
    QSize size = strip.size();

    for (const char* value : {"7%", "55%", "100%", "3%"}) {
        descriptors[0].value = value;
        descriptors[0].band = descriptors[0].band == Band::hot ? Band::calm : Band::hot;
        strip.setTiles(tilesOf(descriptors));
    }
    StatTileView* cpu = strip.tile(StatKind::cpu);
    EXPECT_EQ(paintsAfterTurn(cpu), 1);
    EXPECT_EQ(paints_.count(cpu->findChild<ActivityGraphView*>()), 0) << "graph data unchanged";
    EXPECT_EQ(paints_.count(strip.tile(StatKind::memory)), 0);
    EXPECT_EQ(paints_.count(strip.tile(StatKind::gpu)), 0);
    EXPECT_EQ(strip.size(), size) << "a new value never resizes the strip";

    settle();
    descriptors[2].graph->upper.values.push_back(42);
    strip.setTiles(tilesOf(descriptors));
    auto* gpuGraph = strip.tile(StatKind::gpu)->findChild<ActivityGraphView*>();
    EXPECT_EQ(paintsAfterTurn(gpuGraph), 1);
    EXPECT_EQ(paints_.count(strip.tile(StatKind::cpu)), 0);

    settle();
    strip.setTiles(tilesOf(descriptors));  // the same values again
    EXPECT_EQ(paintsAfterTurn(&strip), 0);
    EXPECT_EQ(paints_.count(cpu), 0);
}

TEST_F(LiveUpdateTest, DetailCardRepaintsRowsOrGraphAsTheyChange) {
    StatDetailView card;
    card.setStyle(darkStyle());
    StatDescriptor disk = samples::disk();
    card.setDescriptor(disk);
    showAndSettle(card);
    auto* graph = card.findChild<ActivityGraphView*>();
    auto* legend = card.findChild<ActivityGraphLegend*>();
    paints_.watch(&card);
    paints_.watch(graph);
    paints_.watch(legend);

    disk.graph->upper.values.push_back(1e6);  // a new sample: bars move, the peak text not
    card.setDescriptor(disk);
    EXPECT_EQ(paintsAfterTurn(graph), 1);
    EXPECT_EQ(paints_.count(legend), 0);

    settle();
    disk.detail[3].second = "9,9 MB/s";
    disk.detail[4].second = "1 MB/s";
    card.setDescriptor(disk);
    EXPECT_EQ(paintsAfterTurn(&card), 1);
    EXPECT_EQ(paints_.count(graph), 0);

    settle();
    disk.graph->upper.peakFormatted = "9,9 MB/s";
    card.setDescriptor(disk);
    EXPECT_EQ(paintsAfterTurn(legend), 1);
}

TEST_F(LiveUpdateTest, ThemeAndStripHeightChangesRepaintAndResize) {
    StatsStripView strip;
    strip.setStyle(darkStyle());
    strip.setTiles(tilesOf({samples::cpu()}));
    showAndSettle(strip);
    paints_.watch(strip.tile(StatKind::cpu));

    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    strip.setStyle(light);
    EXPECT_EQ(paintsAfterTurn(strip.tile(StatKind::cpu)), 1);

    strip.setStripHeight(44);
    EXPECT_EQ(strip.sizeHint().height(), 44);
    EXPECT_EQ(strip.tile(StatKind::cpu)->layout().graph->height(), 26);
}

}  // namespace
}  // namespace glintdeck
