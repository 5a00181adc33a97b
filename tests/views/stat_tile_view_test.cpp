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

TEST(StatTileViewTest, WidthStaysWhileValueAndBandChange) {
    StatTileView tile;
    tile.setStyle(darkStyle());
    tile.setContent(cpuTile("100%", Band::hot));
    QSize reference = tile.sizeHint();
    QRectF mainText = *tile.layout().main;
    for (auto [value, band] : {std::pair{"7%", Band::calm},
                               {"7%", Band::hot},
                               {"55%", Band::busy},
                               {"100%", Band::calm},
                               {"0%", Band::hot}}) {
        tile.setContent(cpuTile(value, band));
        EXPECT_EQ(tile.sizeHint(), reference) << value;
        EXPECT_EQ(tile.size(), reference) << value;
        EXPECT_EQ(*tile.layout().main, mainText) << value;  // leading edge and reserved width
    }
    // The reservation is the widest text in the heavy weight.
    QFont heavy = hudFont(Theme::makeDefault(false).fonts.value, FontWeight::heavy);
    EXPECT_GE(mainText.width(), QFontMetricsF(heavy).horizontalAdvance("100%") - 0.01);
}

TEST(StatTileViewTest, AValueOutgrowingItsWidestTextWidensTheTileInsteadOfBeingCut) {
    StatTileView tile;
    tile.setStyle(darkStyle());
    tile.setContent(cpuTile("88%", Band::calm));
    int normal = tile.width();
    tile.setContent(cpuTile("100000%", Band::calm));
    EXPECT_GT(tile.width(), normal);
}

TEST(StatTileViewTest, HotDrawsHeavierThanCalmInTheSameWidth) {
    StatTileView tile;
    tile.setStyle(darkStyle());
    TileContent content = cpuTile("88%", Band::calm);
    content.style = TileStyle::text;
    tile.setContent(content);
    double calm = ink(rendered(&tile));
    content.band = Band::hot;
    tile.setContent(content);
    double hot = ink(rendered(&tile));
    EXPECT_GT(hot, calm * 1.15);
}

// Widths, fonts and the icon's image are kept between paints: after changes of style, value and
// band a tile must reserve the widest text's width in the new font and draw as a new tile does.
TEST(StatTileViewTest, AChangedTileLaysOutAndDrawsAsANewOne) {
    HudStyle larger = darkStyle();
    larger.theme.fonts.value.size += 5;
    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    StatTileView used;
    used.setContent(cpuTile("100%", Band::hot));
    (void)rendered(&used);
    for (auto [name, style, content] :
         {std::tuple{"larger font", larger, cpuTile("100%", Band::hot)},
          {"a new value, busy", darkStyle(), cpuTile("55%", Band::busy)},
          {"light, calm", light, cpuTile("7%", Band::calm)}}) {
        used.setStyle(style);
        used.setContent(content);
        StatTileView fresh;
        fresh.setStyle(style);
        fresh.setContent(content);
        const FontDescription& font = style.theme.fonts.value;
        HudText heavy(hudFont(font, FontWeight::heavy), font.monospacedDigits);
        EXPECT_EQ(used.layout().main->width(), heavy.width("100%")) << name;
        EXPECT_TRUE(rendered(&used) == rendered(&fresh)) << name;
    }
}

TEST(StatTileViewTest, GraphHeightFollowsTheStripHeight) {
    for (auto [strip, graph] :
         {std::pair{22.0, 12.0}, {36.0, 22.0}, {44.0, 26.0}, {10.0, 12.0}, {200.0, 26.0}}) {
        StatTileView tile;
        tile.setStyle(darkStyle());
        tile.setContent(cpuTile("5%", Band::calm));
        tile.setStripHeight(strip);
        ASSERT_TRUE(tile.layout().graph) << strip;
        EXPECT_EQ(tile.layout().graph->size(), QSizeF(34, graph)) << strip;
        auto* view = tile.findChild<ActivityGraphView*>();
        EXPECT_EQ(view->geometry().size(), QSize(34, static_cast<int>(graph))) << strip;
        EXPECT_EQ(view->surfaceSize(), QSizeF(34, graph));
        EXPECT_TRUE(view->isVisibleTo(&tile));
    }
}

TEST(StatTileViewTest, StyleAndDataDecideTheParts) {
    struct Row {
        const char* name;
        TileStyle style;
        bool hasGraph;
        bool hasWidestSecond;
        bool main, second, graph;
    };
    for (Row row : {
             Row{"text", TileStyle::text, true, true, true, true, false},
             Row{"text and graph", TileStyle::textAndGraph, true, true, true, true, true},
             Row{"text and graph, no data", TileStyle::textAndGraph, false, true, true, true,
                 false},
             Row{"graph only", TileStyle::graph, true, true, false, false, true},
             Row{"graph only, no data: icon alone", TileStyle::graph, false, true, false, false,
                 false},
             Row{"second text without its widest form", TileStyle::text, false, false, true, false,
                 false},
         }) {
        TileContent content{.symbol = "network",
                            .value = "↓ 1 MB/s",
                            .widestValue = "↓ 888 MB/s",
                            .secondaryValue = "↑ 2 KB/s",
                            .style = row.style};
        if (row.hasWidestSecond) content.widestSecondaryValue = "↑ 888 MB/s";
        if (row.hasGraph) content.graph = GraphData{.upper = {.values = {1}}};
        StatTileView tile;
        tile.setStyle(darkStyle());
        tile.setContent(content);
        StatTileView::Layout layout = tile.layout();
        EXPECT_EQ(layout.main.has_value(), row.main) << row.name;
        EXPECT_EQ(layout.second.has_value(), row.second) << row.name;
        EXPECT_EQ(layout.graph.has_value(), row.graph) << row.name;
        EXPECT_EQ(tile.findChild<ActivityGraphView*>()->isVisibleTo(&tile), row.graph) << row.name;
        EXPECT_EQ(layout.icon.width(), 16) << row.name;
        if (!row.main && !row.graph) {
            EXPECT_EQ(tile.width(), 16) << row.name;
        }
    }
}

TEST(StatTileViewTest, TheWholeRectangleIsTheClickTarget) {
    StatTileView tile;
    tile.setStyle(darkStyle());
    tile.setContent(cpuTile("5%", Band::calm));
    int taps = 0;
    tile.setOnTap([&] { ++taps; });
    StatTileView::Layout layout = tile.layout();
    double gap = (layout.icon.right() + layout.main->left()) / 2;  // between icon and text
    click(&tile, QPointF(gap, 1));
    click(&tile, layout.graph->center());
    EXPECT_EQ(taps, 2);

    sendMouse(&tile, QEvent::MouseButtonPress, QPointF(gap, 1));
    sendMouse(&tile, QEvent::MouseButtonRelease, QPointF(tile.width() + 5, 1));
    EXPECT_EQ(taps, 2) << "a release outside the tile is no tap";
}

}  // namespace
}  // namespace glintdeck
