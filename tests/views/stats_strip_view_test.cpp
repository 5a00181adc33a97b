#include "views/stats_strip_view.h"

#include <gtest/gtest.h>

#include "presentation/stat_kind_text.h"
#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/strip_parts.h"

namespace glintdeck {
namespace {

using namespace testing_support;

std::vector<StripTile> tilesOf(const std::vector<StatDescriptor>& descriptors) {
    std::vector<StripTile> tiles;
    for (const StatDescriptor& descriptor : descriptors) {
        tiles.push_back({descriptor.kind, TileContent::from(descriptor, TileStyle::text)});
    }
    return tiles;
}

// The row as letters: P pin, T tile, | divider, S settings.
std::string shape(const StatsStripView& strip) {
    std::string letters;
    for (QWidget* item : strip.rowItems()) {
        if (dynamic_cast<StatTileView*>(item)) {
            letters += 'T';
        } else if (dynamic_cast<DividerView*>(item)) {
            letters += '|';
        } else if (auto* symbol = dynamic_cast<SymbolView*>(item)) {
            letters += item->toolTip().startsWith("Settings") ? 'S' : 'P';
            (void)symbol;
        }
    }
    return letters;
}

class StatsStripViewTest : public testing::Test {
  protected:
    StatsStripViewTest() {
        strip_.setStyle(darkStyle());
        strip_.setOnTileTap([this](StatKind kind) { taps_.push_back(kind); });
        strip_.setOnOpenSettings([this] { ++settingsPresses_; });
        strip_.setOnDrag([this](QPointF translation, bool ended) {
            drags_.push_back({translation, ended});
        });
    }

    StatsStripView strip_;
    std::vector<StatKind> taps_;
    int settingsPresses_ = 0;
    std::vector<std::pair<QPointF, bool>> drags_;
};

TEST_F(StatsStripViewTest, DividersSeparateTilesAndCloseTheRowOnlyWhenThereIsATile) {
    struct Row {
        std::vector<StatDescriptor> descriptors;
        std::string shape;
    };
    for (const Row& row : {Row{{}, "PS"}, Row{{samples::cpu()}, "PT|S"},
                           Row{{samples::cpu(), samples::memory(), samples::uptime()}, "PT|T|T|S"},
                           // A stat that became unavailable leaves neither tile nor divider.
                           Row{{samples::cpu(), samples::uptime()}, "PT|T|S"}, Row{{}, "PS"}}) {
        strip_.setTiles(tilesOf(row.descriptors));
        EXPECT_EQ(shape(strip_), row.shape);
        EXPECT_EQ(strip_.findChildren<StatTileView*>().size(), row.descriptors.size());
        EXPECT_EQ(strip_.findChildren<DividerView*>().size(), row.descriptors.size());
    }
}

TEST_F(StatsStripViewTest, NaturalSizeIsItemsSpacingAndPaddingAtTheStripHeight) {
    strip_.setTiles(tilesOf(samples::all()));
    for (double height : {22.0, 36.0, 44.0}) {
        strip_.setStripHeight(height);
        strip_.resize(strip_.sizeHint());
        const Theme::Metrics& metrics = Theme::makeDefault(false).metrics;
        const auto& items = strip_.rowItems();
        ASSERT_EQ(items.size(), 1 + 11 + 11 + 1u);
        int widths = 0;
        for (QWidget* item : items) widths += item->width();
        int expected = widths + static_cast<int>(metrics.tileSpacing) * (23) +
                       2 * static_cast<int>(metrics.horizontalPadding);
        EXPECT_EQ(strip_.sizeHint(), QSize(expected, static_cast<int>(height)));
        EXPECT_EQ(items.front()->x(), metrics.horizontalPadding);
        EXPECT_EQ(strip_.width() - items.back()->geometry().right() - 1, metrics.horizontalPadding);
        for (size_t i = 0; i < items.size(); ++i) {
            // Centred vertically (to the rounding of odd heights)...
            EXPECT_NEAR(items[i]->geometry().center().y(), (height - 1) / 2, 1) << i;
            // ...and spaced by the theme's tile spacing.
            if (i > 0) {
                EXPECT_NEAR(items[i]->x() - items[i - 1]->geometry().right() - 1,
                            metrics.tileSpacing, 1)
                    << i;
            }
        }
        auto* divider = dynamic_cast<DividerView*>(items[2]);
        ASSERT_NE(divider, nullptr);
        EXPECT_EQ(divider->size(), QSize(1, 18));
    }
}

// A strip wider than its screen once ran off it, taking the last tiles and the settings button
// with it. It turns compact first, then leaves out its last tiles; the button stays and its
// tooltip names what was left out.
TEST_F(StatsStripViewTest, AStripTooWideForItsScreenTurnsCompactThenLeavesOutItsLastTiles) {
    strip_.setTiles(tilesOf(samples::all()));
    const int comfortable = strip_.sizeHint().width();
    struct Row {
        int available;
        size_t shown;  // tiles; 0 < some < 11 stands for "some"
    };
    const size_t some = 5;
    for (const Row& row : {Row{comfortable - 1, 11}, Row{640, some}, Row{60, 0}}) {
        SCOPED_TRACE(row.available);
        strip_.setAvailableWidth(row.available);
        EXPECT_LE(strip_.sizeHint().width(), row.available);
        ASSERT_EQ(strip_.rowItems().back()->toolTip().left(18), "Settings (Super+,)")
            << "the settings button stays, last";
        const QString toolTip = strip_.rowItems().back()->toolTip();
        size_t shown = 0;
        for (const StatDescriptor& descriptor : samples::all()) {
            const bool visible = strip_.tile(descriptor.kind)->isVisibleTo(&strip_);
            shown += visible;
            EXPECT_NE(visible, toolTip.contains(QString::fromUtf8(title(descriptor.kind))))
                << rawValue(descriptor.kind) << ": " << toolTip.toStdString();
        }
        EXPECT_EQ(shape(strip_).size(), 2 + 2 * shown) << "a divider per tile shown";
        if (row.shown == some) {
            EXPECT_GT(shown, 0u);
            EXPECT_LT(shown, 11u);
        } else {
            EXPECT_EQ(shown, row.shown);
        }
    }
    strip_.setAvailableWidth(comfortable);
    EXPECT_EQ(strip_.sizeHint().width(), comfortable) << "room again: comfortable, every tile";
    EXPECT_EQ(strip_.rowItems().back()->toolTip(), QStringLiteral("Settings (Super+,)"));
}

TEST_F(StatsStripViewTest, PinningShowsTheSymbolWithoutMovingAnything) {
    strip_.setTiles(tilesOf({samples::cpu(), samples::gpu()}));
    strip_.resize(strip_.sizeHint());
    std::vector<QRect> before;
    for (QWidget* item : strip_.rowItems()) before.push_back(item->geometry());
    auto* pin = dynamic_cast<SymbolView*>(strip_.rowItems().front());
    ASSERT_NE(pin, nullptr);
    EXPECT_FALSE(pin->symbolVisible());
    strip_.setPinned(true);
    EXPECT_TRUE(pin->symbolVisible());
    EXPECT_EQ(pin->toolTip(), QStringLiteral("Pinned — Keep on Screen is on"));
    std::vector<QRect> after;
    for (QWidget* item : strip_.rowItems()) after.push_back(item->geometry());
    EXPECT_EQ(before, after);
}

TEST_F(StatsStripViewTest, TilesAndTheSettingsButtonReportPresses) {
    strip_.setTiles(tilesOf({samples::cpu(), samples::gpu()}));
    strip_.resize(strip_.sizeHint());
    click(strip_.tile(StatKind::gpu), QPointF(2, 2));
    click(strip_.tile(StatKind::cpu), QPointF(2, 2));
    click(strip_.rowItems().back(), QPointF(3, 3));
    click(strip_.rowItems().front(), QPointF(3, 3));  // the pin is no button
    EXPECT_EQ(taps_, (std::vector{StatKind::gpu, StatKind::cpu}));
    EXPECT_EQ(settingsPresses_, 1);
    EXPECT_TRUE(drags_.empty());
}

TEST_F(StatsStripViewTest, DragStartsAtThreePointsAndThenTapsNothing) {
    strip_.setTiles(tilesOf({samples::cpu()}));
    strip_.resize(strip_.sizeHint());
    for (QWidget* target : {static_cast<QWidget*>(strip_.tile(StatKind::cpu)),
                            strip_.rowItems().back(), static_cast<QWidget*>(&strip_)}) {
        drags_.clear();
        QPointF start(4, 4);
        sendMouse(target, QEvent::MouseButtonPress, start);
        sendMouse(target, QEvent::MouseMove, start + QPointF(2, 2));  // 2.8 points: not yet
        EXPECT_TRUE(drags_.empty());
        sendMouse(target, QEvent::MouseMove, start + QPointF(3, 0));
        sendMouse(target, QEvent::MouseMove, start + QPointF(1, 0));  // back: still dragging
        sendMouse(target, QEvent::MouseMove, start + QPointF(-40, 12));
        sendMouse(target, QEvent::MouseButtonRelease, start + QPointF(-41, 12));
        std::vector<std::pair<QPointF, bool>> expected{{QPointF(3, 0), false},
                                                       {QPointF(1, 0), false},
                                                       {QPointF(-40, 12), false},
                                                       {QPointF(-41, 12), true}};
        EXPECT_EQ(drags_, expected);
    }
    EXPECT_TRUE(taps_.empty());
    EXPECT_EQ(settingsPresses_, 0);

    // A press that never moved 3 points is a plain click.
    drags_.clear();
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseButtonPress, QPointF(4, 4));
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseMove, QPointF(5, 5));
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseButtonRelease, QPointF(5, 5));
    EXPECT_TRUE(drags_.empty());
    EXPECT_EQ(taps_, std::vector{StatKind::cpu});
}

// Tiles paint the panel's fill under themselves (so that their updates leave the strip alone);
// it must be the very colour of the strip's own fill around them, in every appearance.
TEST_F(StatsStripViewTest, TilesPaintExactlyThePanelFillUnderThemselves) {
    HudStyle light = darkStyle();
    light.appearance = Appearance::light;
    HudStyle opaque = darkStyle();
    opaque.opaqueBackground = true;
    for (auto [name, style] :
         {std::pair{"dark", darkStyle()}, {"light", light}, {"opaque", opaque}}) {
        strip_.setStyle(style);
        strip_.setTiles(tilesOf({samples::cpu()}));
        strip_.resize(strip_.sizeHint());
        QImage image = rendered(&strip_);
        // Just right of the tile's left edge, above its icon, and in the spacing left of it.
        QPoint corner = strip_.tile(StatKind::cpu)->geometry().topLeft();
        EXPECT_EQ(image.pixel(corner + QPoint(1, 0)), image.pixel(corner - QPoint(3, 0))) << name;
    }
}

TEST_F(StatsStripViewTest, TilesOfKindsThatStayAreUpdatedInPlace) {
    strip_.setTiles(tilesOf({samples::cpu(), samples::memory()}));
    StatTileView* cpu = strip_.tile(StatKind::cpu);
    StatDescriptor busier = samples::cpu();
    busier.value = "12%";
    strip_.setTiles(tilesOf({busier, samples::memory(), samples::uptime()}));
    EXPECT_EQ(strip_.tile(StatKind::cpu), cpu);
    EXPECT_EQ(cpu->content().value, "12%");
    strip_.setTiles(tilesOf({samples::uptime()}));
    EXPECT_EQ(strip_.tile(StatKind::cpu), nullptr);
    EXPECT_EQ(shape(strip_), "PT|S");
    strip_.setTiles(tilesOf({samples::uptime(), samples::cpu(), samples::uptime()}));
    EXPECT_EQ(shape(strip_), "PT|T|S") << "a repeated kind gets no second tile";
}

}  // namespace
}  // namespace glintdeck
