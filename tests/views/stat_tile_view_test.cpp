#include "views/stat_tile_view.h"

#include <gtest/gtest.h>

#include "tests/views/view_test_support.h"
#include "views/activity_graph_view.h"
#include "views/hud_text.h"

namespace glintdeck {
namespace {

using namespace testing_support;

TileContent cpuTile(std::string value, Band band) {
    return {.symbol = "cpu",
            .value = std::move(value),
            .widestValue = "100%",
            .band = band,
            .tint = Tint::calm,
            .style = TileStyle::textAndGraph,
            .graph = GraphData{.upper = {.values = {10, 50, 90}}}};
}

// The width of the widest text in the heavy weight of the style's value font.
double heavyWidth(const HudStyle& style, const QString& text) {
    const FontDescription& font = style.theme.fonts.value;
    return HudText(hudFont(font, FontWeight::heavy), font.monospacedDigits).width(text);
}

class StatTileViewTest : public testing::Test {
  protected:
    StatTileViewTest() {
        tile_.setStyle(darkStyle());
        tile_.setContent(cpuTile("100%", Band::hot));
    }

    StatTileView tile_;
};

// The tile reserves its widest text's width in the heavy weight, so values and bands change
// without moving anything (a hot value draws heavier in that width); a value that outgrows it
// widens the tile instead of being cut.
TEST_F(StatTileViewTest, WidthStaysWhileValueAndBandChange) {
    const QSize reference = tile_.sizeHint();
    const QRectF mainText = *tile_.layout().main;
    EXPECT_EQ(mainText.width(), heavyWidth(darkStyle(), "100%"));
    for (auto [value, band] :
         {std::pair{"7%", Band::calm}, {"7%", Band::hot}, {"55%", Band::busy}, {"0%", Band::hot}}) {
        tile_.setContent(cpuTile(value, band));
        EXPECT_EQ(tile_.size(), reference) << value;
        EXPECT_EQ(*tile_.layout().main, mainText) << value;
    }
    TileContent content = cpuTile("88%", Band::calm);
    content.style = TileStyle::text;
    tile_.setContent(content);
    double calm = ink(rendered(&tile_));
    content.band = Band::hot;
    tile_.setContent(content);
    EXPECT_GT(ink(rendered(&tile_)), calm * 1.15);

    tile_.setContent(cpuTile("100000%", Band::calm));
    EXPECT_GT(tile_.width(), reference.width());
}

// Widths, fonts and the icon's image are kept between paints: after changes of style, value and
// band a tile must reserve the widest text's width in the new font and draw as a new tile does.
TEST_F(StatTileViewTest, AChangedTileLaysOutAndDrawsAsANewOne) {
    HudStyle larger = darkStyle();
    larger.theme.fonts.value.size += 5;
    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    (void)rendered(&tile_);
    for (auto [name, style, content] :
         {std::tuple{"larger font", larger, cpuTile("100%", Band::hot)},
          {"a new value, busy", darkStyle(), cpuTile("55%", Band::busy)},
          {"light, calm", light, cpuTile("7%", Band::calm)}}) {
        tile_.setStyle(style);
        tile_.setContent(content);
        StatTileView fresh;
        fresh.setStyle(style);
        fresh.setContent(content);
        EXPECT_EQ(tile_.layout().main->width(), heavyWidth(style, "100%")) << name;
        EXPECT_TRUE(rendered(&tile_) == rendered(&fresh)) << name;
    }
}

TEST_F(StatTileViewTest, GraphHeightFollowsTheStripHeight) {
    for (auto [strip, graph] : {std::pair{22, 12}, {36, 22}, {44, 26}, {10, 12}, {200, 26}}) {
        tile_.setStripHeight(strip);
        auto* view = tile_.findChild<ActivityGraphView*>();
        EXPECT_EQ(view->geometry().size(), QSize(34, graph)) << strip;
        EXPECT_EQ(view->surfaceSize(), QSizeF(34, graph));
    }
}

TEST_F(StatTileViewTest, StyleAndDataDecideTheParts) {
    struct Row {
        const char* name;
        TileStyle style;
        bool hasGraph, hasWidestSecond;
        bool main, second, graph;
    };
    for (Row row : {
             Row{"text", TileStyle::text, true, true, true, true, false},
             Row{"text and graph", TileStyle::textAndGraph, true, true, true, true, true},
             Row{"no data", TileStyle::textAndGraph, false, true, true, true, false},
             Row{"graph only", TileStyle::graph, true, true, false, false, true},
             Row{"graph only, no data: icon alone", TileStyle::graph, false, true, false, false,
                 false},
             Row{"no widest second text", TileStyle::text, false, false, true, false, false},
         }) {
        TileContent content{.symbol = "network",
                            .value = "↓ 1 MB/s",
                            .widestValue = "↓ 888 MB/s",
                            .secondaryValue = "↑ 2 KB/s",
                            .style = row.style};
        if (row.hasWidestSecond) content.widestSecondaryValue = "↑ 888 MB/s";
        if (row.hasGraph) content.graph = GraphData{.upper = {.values = {1}}};
        tile_.setContent(content);
        StatTileView::Layout layout = tile_.layout();
        SCOPED_TRACE(row.name);
        EXPECT_EQ(layout.main.has_value(), row.main);
        EXPECT_EQ(layout.second.has_value(), row.second);
        EXPECT_EQ(layout.graph.has_value(), row.graph);
        EXPECT_EQ(tile_.findChild<ActivityGraphView*>()->isVisibleTo(&tile_), row.graph);
        if (!row.main && !row.graph) {
            EXPECT_EQ(tile_.width(), layout.icon.width());
        }
    }
}

TEST_F(StatTileViewTest, TheWholeRectangleIsTheClickTarget) {
    int taps = 0;
    tile_.setOnTap([&] { ++taps; });
    StatTileView::Layout layout = tile_.layout();
    double gap = (layout.icon.right() + layout.main->left()) / 2;  // between icon and text
    click(&tile_, QPointF(gap, 1));
    click(&tile_, layout.graph->center());
    EXPECT_EQ(taps, 2);

    sendMouse(&tile_, QEvent::MouseButtonPress, QPointF(gap, 1));
    sendMouse(&tile_, QEvent::MouseButtonRelease, QPointF(tile_.width() + 5, 1));
    EXPECT_EQ(taps, 2) << "a release outside the tile is no tap";
}

}  // namespace
}  // namespace glintdeck
