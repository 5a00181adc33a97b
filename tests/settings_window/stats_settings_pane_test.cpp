#include "settings_window/stats_settings_pane.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include "settings_window/stat_list_view.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class StatsSettingsPaneTest : public PaneTest {
  protected:
    void SetUp() override {
        pane_ = std::make_unique<StatsSettingsPane>(*settings_);
        pane_->resize(500, 420);
        pane_->show();
        QCoreApplication::processEvents();
    }

    std::vector<StatKind> shownOrder() const {
        std::vector<StatKind> order;
        for (int row = 0; row < pane_->list()->count(); ++row) {
            order.push_back(*pane_->list()->kindAt(row));
        }
        return order;
    }

    // Drags row `from` into the list and drops it `fraction` of the way down row `onto`.
    void dropRow(int from, int onto, double fraction) {
        StatListView* list = pane_->list();
        QRect target = list->visualItemRect(list->item(onto));
        QPoint at(target.center().x(), target.top() + static_cast<int>(target.height() * fraction));
        QMimeData data;
        data.setData(StatListView::rowMimeType(), QByteArray::number(from));
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &move);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &drop);
    }

    std::unique_ptr<StatsSettingsPane> pane_;
};

// One kind of each sort: two values, one value with a history, one value without, none.
TEST_F(StatsSettingsPaneTest, EachKindOffersItsOwnPickersAndTheyWriteItsModeAndStyle) {
    for (auto [kind, twoValues, history] : {std::tuple{std::optional{StatKind::memory}, true, true},
                                            {std::optional{StatKind::cpu}, false, true},
                                            {std::optional{StatKind::battery}, false, false},
                                            {std::optional<StatKind>{}, false, false}}) {
        SCOPED_TRACE(kind ? static_cast<int>(*kind) : -1);
        pane_->list()->selectKind(kind);
        EXPECT_EQ(pane_->selected(), kind);
        auto* value = pane_->findChild<QComboBox*>(QStringLiteral("valuePicker"));
        EXPECT_EQ(value != nullptr, twoValues);
        EXPECT_EQ(pane_->findChild<QComboBox*>(QStringLiteral("stripPicker")) != nullptr, history);
        EXPECT_EQ(pane_->findChild<QLabel*>(QStringLiteral("singleValueCaption")) != nullptr,
                  kind && !history);
        EXPECT_EQ(pane_->findChild<QLabel*>(QStringLiteral("selectPrompt")) != nullptr, !kind);
        if (value) {
            EXPECT_EQ(value->currentText(), "Used") << "the stored mode is shown";
        }
    }

    pane_->list()->selectKind(StatKind::memory);
    choose(*child<QComboBox>(*pane_, "valuePicker"), QStringLiteral("Free"));
    choose(*child<QComboBox>(*pane_, "stripPicker"), QStringLiteral("Graph only"));
    EXPECT_EQ(settings_->tileValueMode(StatKind::memory), TileValueMode::second);
    EXPECT_EQ(settings_->tileStyle(StatKind::memory), TileStyle::graph);

    // A change from elsewhere (the reset keeps these, but the stored map may be replaced).
    settings_->setTileStyles({});
    EXPECT_EQ(child<QComboBox>(*pane_, "stripPicker")->currentText(), "Text");
}

TEST_F(StatsSettingsPaneTest, DroppingARowWritesTheNewOrder) {
    int statsChanged = 0;
    settings_->onStatsChanged = [&] { ++statsChanged; };
    pane_->list()->selectKind(StatKind::cpu);

    // cpu dropped on the lower half of disk lands after disk.
    dropRow(0, 2, 0.75);
    std::vector<StatKind> expected{StatKind::memory, StatKind::disk, StatKind::cpu};
    std::copy(allStatKinds().begin() + 3, allStatKinds().end(), std::back_inserter(expected));
    EXPECT_EQ(settings_->statOrder(), expected);
    EXPECT_EQ(shownOrder(), expected);
    EXPECT_EQ(std::tuple(statsChanged, pane_->selected(), pane_->list()->currentRow()),
              std::tuple(1, std::optional(StatKind::cpu), 2));

    // uptime dropped on the upper half of the first row becomes first.
    dropRow(10, 0, 0.25);
    EXPECT_EQ(settings_->statOrder().front(), StatKind::uptime);
    EXPECT_EQ(settings_->statOrder().size(), 11u);
}

TEST_F(StatsSettingsPaneTest, MovedOrderFollowsTheMoveToOffsetRule) {
    using K = StatKind;
    const std::vector<K> order{K::cpu, K::memory, K::disk, K::network};
    // Onto itself, just below itself and rows that do not exist change nothing.
    for (const auto& [from, to, expected] : std::vector<std::tuple<int, int, std::vector<K>>>{
             {0, 3, {K::memory, K::disk, K::cpu, K::network}},
             {0, 4, {K::memory, K::disk, K::network, K::cpu}},
             {3, 0, {K::network, K::cpu, K::memory, K::disk}},
             {2, 2, order},
             {2, 3, order},
             {5, 0, order},
             {0, 9, order}}) {
        EXPECT_EQ(movedOrder(order, from, to), expected) << from << " to " << to;
    }
}

TEST_F(StatsSettingsPaneTest, ClickingASwitchHidesTheStatWithoutSelectingIt) {
    StatListView* list = pane_->list();
    int row = 1;  // memory
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->switchRect(row).center());
    EXPECT_FALSE(settings_->enabledStats().contains(StatKind::memory));
    EXPECT_EQ(pane_->selected(), std::nullopt);
    EXPECT_EQ(settings_->statOrder().size(), 11u);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->switchRect(row).center());
    EXPECT_TRUE(settings_->enabledStats().contains(StatKind::memory));

    // A click on the title selects.
    QRect rowRect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect.center());
    EXPECT_EQ(pane_->selected(), StatKind::memory);
    EXPECT_TRUE(settings_->enabledStats().contains(StatKind::memory));
}

}  // namespace
}  // namespace glintdeck
