// Views repaint when a field they draw changes, once per event-loop turn however many changes
// arrive, and only the widgets whose fields changed.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/activity_graph_legend.h"
#include "views/activity_graph_view.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

using namespace testing_support;

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
        return paints_.of(widget).count;
    }

    PaintCounter paints_;
};

// The strip sits in a translucent window, as in its panel: a tile on the panel's plain inside
// paints the fill under itself, so its updates never repaint the strip (the whole outline) behind.
TEST_F(LiveUpdateTest, OnlyWhatChangedRepaintsOncePerTurn) {
    struct Row {
        const char* name;
        std::function<void(std::vector<StatDescriptor>&)> change;
        int cpuTilePaints, cpuGraphPaints;
    };
    auto newValues = [](auto& shown) {
        for (const char* value : {"7%", "55%", "3%"}) {  // three changes in one turn
            shown[0].value = value;
            shown[0].band = shown[0].band == Band::hot ? Band::calm : Band::hot;
        }
    };
    const std::vector<Row> rows{
        {"the same values", [](auto&) {}, 0, 0},
        {"new values and bands", newValues, 1, 0},
        {"a sample in a shown graph",
         [](auto& shown) { shown[0].graph->upper.values.push_back(4); }, 0, 1},
        {"a sample in a text tile's graph",
         [](auto& shown) { shown[1].graph->upper.values.push_back(4); }, 0, 0},
    };
    QWidget window;
    window.setAttribute(Qt::WA_TranslucentBackground);
    auto* strip = new StatsStripView(&window);
    strip->setStyle(darkStyle());
    std::vector<StatDescriptor> shown{samples::cpu(), samples::memory()};
    auto fill = [&] {
        strip->setDescriptors(shown, [](StatKind kind) {
            return kind == StatKind::cpu ? TileStyle::textAndGraph : TileStyle::text;
        });
    };
    fill();
    window.resize(strip->sizeHint());
    window.show();
    StatTileView* cpu = strip->tile(StatKind::cpu);
    auto* cpuGraph = cpu->findChild<ActivityGraphView*>();
    StatTileView* memory = strip->tile(StatKind::memory);
    for (QWidget* widget : std::vector<QWidget*>{strip, cpu, cpuGraph, memory})
        paints_.watch(widget);
    for (const Row& row : rows) {
        settle();
        row.change(shown);
        fill();
        QApplication::processEvents();
        EXPECT_EQ(paints_.of(strip).count + paints_.of(memory).count, 0) << row.name;
        EXPECT_EQ(paints_.of(cpu).count, row.cpuTilePaints) << row.name;
        EXPECT_EQ(paints_.of(cpuGraph).count, row.cpuGraphPaints) << row.name;
        QRect leftOfGraph(0, 0, cpuGraph->x(), cpu->height());
        EXPECT_TRUE(paints_.of(cpu).region.subtracted(leftOfGraph).isEmpty()) << row.name;
        EXPECT_EQ(strip->size(), window.size()) << row.name << ": values never resize the strip";
    }
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
    EXPECT_EQ(paints_.of(legend).count, 0);

    settle();
    disk.detail[3].second = "9,9 MB/s";
    disk.detail[4].second = "1 MB/s";
    card.setDescriptor(disk);
    EXPECT_EQ(paintsAfterTurn(&card), 1);
    EXPECT_EQ(paints_.of(graph).count, 0);

    settle();
    disk.graph->upper.peakFormatted = "9,9 MB/s";
    card.setDescriptor(disk);
    EXPECT_EQ(paintsAfterTurn(legend), 1);
}

TEST_F(LiveUpdateTest, AThemeChangeRepaintsTheTiles) {
    StatsStripView strip;
    strip.setStyle(darkStyle());
    strip.setDescriptors({samples::cpu()}, [](StatKind) { return TileStyle::textAndGraph; });
    showAndSettle(strip);
    paints_.watch(strip.tile(StatKind::cpu));
    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    strip.setStyle(light);
    EXPECT_EQ(paintsAfterTurn(strip.tile(StatKind::cpu)), 1);
}

}  // namespace
}  // namespace glintdeck
