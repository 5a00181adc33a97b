#include "views/stats_strip_view.h"

#include <gtest/gtest.h>

#include "presentation/stat_kind_text.h"
#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/strip_parts.h"

namespace glintdeck {
namespace {

using namespace testing_support;

// The row as letters: P pin, T tile, | divider, S settings.
std::string shape(const StatsStripView& strip) {
    std::string letters;
    for (QWidget* item : strip.rowItems()) {
        if (dynamic_cast<StatTileView*>(item)) {
            letters += 'T';
        } else if (dynamic_cast<DividerView*>(item)) {
            letters += '|';
        } else if (dynamic_cast<SymbolView*>(item)) {
            letters += item->toolTip().startsWith("Settings") ? 'S' : 'P';
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
    void show(const std::vector<StatDescriptor>& descriptors) {
        strip_.setDescriptors(descriptors, [](StatKind) { return TileStyle::text; });
        strip_.resize(strip_.sizeHint());
    }

    StatsStripView strip_;
    std::vector<StatKind> taps_;
    int settingsPresses_ = 0;
    std::vector<std::pair<QPointF, bool>> drags_;
};

// Tiles of kinds that stay are updated in place; a stat that became unavailable leaves neither
// tile nor divider.
TEST_F(StatsStripViewTest, DividersSeparateTilesAndCloseTheRowOnlyWhenThereIsATile) {
    StatDescriptor busier = samples::cpu();
    busier.value = "12%";
    struct Row {
        std::vector<StatDescriptor> descriptors;
        std::string shape;
    };
    for (const Row& row : {Row{{}, "PS"}, Row{{samples::cpu(), samples::memory()}, "PT|T|S"},
                           Row{{busier, samples::memory(), samples::uptime()}, "PT|T|T|S"},
                           Row{{busier, samples::uptime()}, "PT|T|S"},
                           Row{{samples::uptime(), busier, samples::uptime()}, "PT|T|S"},
                           Row{{samples::uptime()}, "PT|S"}, Row{{}, "PS"}}) {
        StatTileView* cpu = strip_.tile(StatKind::cpu);
        show(row.descriptors);
        EXPECT_EQ(shape(strip_), row.shape) << "a repeated kind gets no second tile";
        EXPECT_EQ(strip_.findChildren<DividerView*>().size(), row.shape.size() / 2 - 1);
        if (cpu && strip_.tile(StatKind::cpu)) {
            EXPECT_EQ(strip_.tile(StatKind::cpu), cpu);
            EXPECT_EQ(cpu->content().value, "12%");
        }
    }
}

// Pinning shows the pin's symbol in the room kept for it, moving nothing.
TEST_F(StatsStripViewTest, NaturalSizeIsItemsSpacingAndPaddingAtTheStripHeight) {
    const Theme::Metrics& metrics = darkStyle().theme.metrics;
    show(samples::all());
    auto geometries = [this] {
        std::vector<QRect> all;
        for (QWidget* item : strip_.rowItems()) all.push_back(item->geometry());
        return all;
    };
    for (double height : {22.0, 36.0, 44.0}) {
        strip_.setStripHeight(height);
        strip_.resize(strip_.sizeHint());
        const auto& items = strip_.rowItems();
        EXPECT_EQ(strip_.sizeHint().height(), height);
        EXPECT_EQ(items.front()->x(), metrics.horizontalPadding);
        EXPECT_EQ(strip_.width() - items.back()->geometry().right() - 1, metrics.horizontalPadding);
        for (size_t i = 0; i < items.size(); ++i) {
            // Centred vertically (to the rounding of odd heights) and spaced by the theme.
            EXPECT_NEAR(items[i]->geometry().center().y(), (height - 1) / 2, 1) << i;
            if (i > 0) {
                EXPECT_NEAR(items[i]->x() - items[i - 1]->geometry().right() - 1,
                            metrics.tileSpacing, 1)
                    << i;
            }
        }
    }
    const std::vector<QRect> unpinned = geometries();
    auto* pin = dynamic_cast<SymbolView*>(strip_.rowItems().front());
    ASSERT_NE(pin, nullptr);
    EXPECT_FALSE(pin->symbolVisible());
    strip_.setPinned(true);
    EXPECT_TRUE(pin->symbolVisible());
    EXPECT_EQ(geometries(), unpinned);
}

// A strip wider than its screen once ran off it, taking the last tiles and the settings button
// with it. It turns compact first, then leaves out its last tiles; the button stays and its
// tooltip names what was left out.
TEST_F(StatsStripViewTest, AStripTooWideForItsScreenTurnsCompactThenLeavesOutItsLastTiles) {
    show(samples::all());
    const int comfortable = strip_.sizeHint().width();
    const size_t all = samples::all().size();
    for (auto [available, fewest, most] : {std::tuple{comfortable - 1, all, all},
                                           {640, size_t{1}, all - 1},
                                           {60, 0ul, 0ul},
                                           {comfortable, all, all}}) {
        SCOPED_TRACE(available);
        strip_.setAvailableWidth(available);
        EXPECT_LE(strip_.sizeHint().width(), available);
        const QString toolTip = strip_.rowItems().back()->toolTip();
        ASSERT_TRUE(toolTip.startsWith("Settings (Super+,)")) << "the settings button stays last";
        size_t shown = 0;
        for (const StatDescriptor& descriptor : samples::all()) {
            const bool visible = strip_.tile(descriptor.kind)->isVisibleTo(&strip_);
            shown += visible;
            EXPECT_NE(visible, toolTip.contains(QString::fromUtf8(title(descriptor.kind))))
                << rawValue(descriptor.kind) << ": " << toolTip.toStdString();
        }
        EXPECT_EQ(shape(strip_).size(), 2 + 2 * shown) << "a divider per tile shown";
        EXPECT_GE(shown, fewest);
        EXPECT_LE(shown, most);
    }
    EXPECT_EQ(strip_.sizeHint().width(), comfortable) << "room again: comfortable";
}

// Tiles and the settings button report presses; a drag starts at three points from the press
// (on a tile, the button or the strip itself) and then taps nothing.
TEST_F(StatsStripViewTest, PressesTapDragsMoveTheStrip) {
    show({samples::cpu(), samples::gpu()});
    click(strip_.tile(StatKind::gpu), QPointF(2, 2));
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseButtonPress, QPointF(4, 4));
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseMove, QPointF(5, 5));
    sendMouse(strip_.tile(StatKind::cpu), QEvent::MouseButtonRelease, QPointF(5, 5));
    click(strip_.rowItems().back(), QPointF(3, 3));
    click(strip_.rowItems().front(), QPointF(3, 3));  // the pin is no button
    EXPECT_EQ(taps_, (std::vector{StatKind::gpu, StatKind::cpu}));
    EXPECT_EQ(settingsPresses_, 1);
    EXPECT_TRUE(drags_.empty());

    for (QWidget* target : {static_cast<QWidget*>(strip_.tile(StatKind::cpu)),
                            strip_.rowItems().back(), static_cast<QWidget*>(&strip_)}) {
        drags_.clear();
        QPointF start(4, 4);
        sendMouse(target, QEvent::MouseButtonPress, start);
        sendMouse(target, QEvent::MouseMove, start + QPointF(2, 2));  // 2.8 points: not yet
        EXPECT_TRUE(drags_.empty());
        sendMouse(target, QEvent::MouseMove, start + QPointF(3, 0));
        sendMouse(target, QEvent::MouseMove, start + QPointF(1, 0));  // back: still dragging
        sendMouse(target, QEvent::MouseButtonRelease, start + QPointF(-41, 12));
        EXPECT_EQ(drags_, (std::vector<std::pair<QPointF, bool>>{
                              {{3, 0}, false}, {{1, 0}, false}, {{-41, 12}, true}}));
    }
    EXPECT_EQ(taps_.size(), 2u);
    EXPECT_EQ(settingsPresses_, 1);
}

}  // namespace
}  // namespace glintdeck
