#include "views/stat_detail_view.h"

#include <gtest/gtest.h>

#include "tests/support/sample_descriptors.h"
#include "tests/views/view_test_support.h"
#include "views/activity_graph_view.h"

namespace glintdeck {
namespace {

using namespace testing_support;

StatDescriptor cpuWithProcesses(size_t count) {
    StatDescriptor cpu = samples::cpu();
    cpu.processSection->rows.resize(count);
    if (count == 0) cpu.processSection.reset();  // the descriptor layer drops an empty section
    return cpu;
}

// A card of the dark style showing the descriptor.
std::unique_ptr<StatDetailView> cardOf(const StatDescriptor& descriptor) {
    auto card = std::make_unique<StatDetailView>();
    card->setStyle(darkStyle());
    card->setDescriptor(descriptor);
    return card;
}

TEST(StatDetailViewTest, ReservedProcessRowsKeepTheHeight) {
    auto card = cardOf(cpuWithProcesses(10));
    QSize full = card->sizeHint();
    for (size_t count : {1u, 3u, 9u, 10u}) {
        card->setDescriptor(cpuWithProcesses(count));
        EXPECT_EQ(card->sizeHint().height(), full.height()) << count;
        StatDetailView::Layout layout = card->layout();
        ASSERT_EQ(layout.processRows.size(), 10u);
        for (size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(layout.processRows[i].visible, i < count) << count << " " << i;
            EXPECT_EQ(layout.processRows[i].rect.height(), layout.processRows[0].rect.height());
        }
    }
    // Before the first process sample nothing of the section shows, but its room is kept: a
    // card placed then once grew over the strip when the list arrived.
    card->setDescriptor(cpuWithProcesses(0));
    EXPECT_EQ(card->sizeHint().height(), full.height());
    EXPECT_FALSE(card->layout().processTitle);
    EXPECT_EQ(card->layout().dividers.size(), 1u) << "only the graph's divider";
    for (const StatDetailView::TextRow& row : card->layout().processRows) EXPECT_FALSE(row.visible);
}

TEST(StatDetailViewTest, GroupsAppearOnlyForDescriptorsThatHaveThem) {
    for (const auto& [descriptor, graph, legend, dividers, processes] :
         {std::tuple{samples::loadAverage(), false, false, 0u, false},
          {samples::gpu(), true, false, 1u, false},  // percent: no legend
          {samples::disk(), true, true, 1u, false},
          {samples::memory(), true, false, 2u, true}}) {
        StatDetailView::Layout layout = cardOf(descriptor)->layout();
        SCOPED_TRACE(rawValue(descriptor.kind));
        EXPECT_EQ(layout.graph.has_value(), graph);
        EXPECT_EQ(layout.legend.has_value(), legend);
        EXPECT_EQ(layout.dividers.size(), dividers);
        EXPECT_EQ(layout.processTitle.has_value(), processes);
        ASSERT_EQ(layout.rows.size(), descriptor.detail.size());
        for (size_t i = 0; i < layout.rows.size(); ++i) {
            EXPECT_EQ(layout.rows[i].left.toStdString(), descriptor.detail[i].first);
            EXPECT_EQ(layout.rows[i].right.toStdString(), descriptor.detail[i].second);
        }
    }
}

// On a small screen the card gets less height than it needs: it shows less, in a fixed order,
// and what it shows lies within that height.
TEST(StatDetailViewTest, GivenLessHeightTheCardDropsProcessRowsThenTheGraphThenDetailRows) {
    auto card = cardOf(samples::memory());
    const StatDetailView::Layout full = card->layout();
    EXPECT_EQ(card->layout(0, full.size.height() - 1).processRows.size(), 9u);
    for (double height = full.size.height() - 1; height > 0; height -= 7) {
        const StatDetailView::Layout fitted = card->layout(0, height);
        const double graph = fitted.graph ? fitted.graph->height() : 0;
        EXPECT_EQ(fitted.naturalSize, full.size);
        EXPECT_LE(fitted.size.height(), std::max(height, 24.0)) << "down to the padding";
        EXPECT_TRUE(fitted.processRows.empty() || graph == 44) << height;
        EXPECT_TRUE(!fitted.graph || graph >= 16) << "shortened to 16, then gone: " << height;
        EXPECT_TRUE(fitted.rows.size() == full.rows.size() || !fitted.graph) << height;
    }
}

TEST(StatDetailViewTest, LongProcessNamesAreShortenedInTheMiddle) {
    auto card = cardOf(samples::cpu());
    card->resize(card->sizeHint());
    const std::string full = samples::cpu().processSection->rows[1].first;
    StatDetailView::TextRow row = card->layout(card->width()).processRows[1];
    std::string shown = row.left.toStdString();
    EXPECT_LT(shown.size(), full.size());
    EXPECT_EQ(shown.substr(0, 6), full.substr(0, 6)) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), full.substr(full.size() - 4)) << shown;
    EXPECT_NE(row.left.indexOf(QChar(0x2026)), -1) << shown;
    EXPECT_EQ(card->layout(card->width()).processRows[0].left, "firefox-esr") << "short names stay";
    // The card does not stretch to the long name.
    EXPECT_LT(card->width(), 300);
}

TEST(StatDetailViewTest, AStatThatBecomesUnavailableLeavesABlankCardOfTheSameSize) {
    auto card = cardOf(samples::cpu());
    card->resize(card->sizeHint());
    QSize shown = card->size();
    const QImage before = rendered(card.get());
    card->setDescriptor(std::nullopt);
    EXPECT_EQ(card->size(), shown);
    EXPECT_FALSE(card->findChild<ActivityGraphView*>()->isVisibleTo(card.get()));
    QImage image = rendered(card.get());
    EXPECT_NE(image, before) << "its texts and process rows are gone";
    QPoint middle(image.width() / 2, image.height() / 2);
    EXPECT_EQ(qAlpha(image.pixel(middle)), static_cast<int>(0.82 * 255 + 0.5)) << "background kept";
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "outside the rounded corner";
}

}  // namespace
}  // namespace glintdeck
