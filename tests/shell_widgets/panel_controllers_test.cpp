#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <vector>

#include "shell/attached_panel_controllers.h"
#include "shell/panel_window_controller.h"

namespace glintdeck {
namespace {

// Qt's offscreen platform has one 800 × 800 screen, all of it visible.
std::unique_ptr<QWidget> viewOfSize(int width, int height) {
    auto view = std::make_unique<QWidget>();
    view->setFixedSize(width, height);
    return view;
}

void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class StripPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 800, 800));
        controller.setOnVisibilityChanged([this](bool shown) { visibility.push_back(shown); });
        controller.setOnPanelMoved([this](Point p) { moves.push_back(p); });
    }

    PanelWindowController controller;
    std::vector<bool> visibility;
    std::vector<Point> moves;
};

TEST_F(StripPanel, ShowsANewNamedPanelAtTheAnchorAndReportsEachShowAndHide) {
    // Hidden from inside its own view, as the settings button does.
    auto button = std::make_unique<QPushButton>();
    button->setFixedSize(400, 36);
    QPushButton* settings = button.get();
    QObject::connect(settings, &QPushButton::clicked, [this] { controller.hideStrip(); });
    controller.showStrip(PanelAnchor::topCenter, std::nullopt, std::move(button));
    QPointer<QWidget> first = controller.panel();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->geometry(), QRect(200, 24, 400, 36));
    EXPECT_EQ(controller.lastAppliedOrigin(), (Point{200, 740}));
    EXPECT_EQ(first->windowTitle(), "Glintdeck");
    EXPECT_TRUE(first->isVisible());

    settings->click();
    controller.hideStrip();
    EXPECT_EQ(visibility, (std::vector<bool>{true, false}));
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_EQ(controller.lastAppliedOrigin(), std::nullopt);
    runDeferredDeletes();
    EXPECT_FALSE(first) << "a hidden strip's panel is destroyed";

    controller.showStrip(PanelAnchor::bottomCenter, Point{5000, 5000}, viewOfSize(400, 36));
    EXPECT_EQ(controller.panel()->geometry(), QRect(400, 0, 400, 36)) << "clamped custom place";
    EXPECT_TRUE(moves.empty());
}

TEST_F(StripPanel, ReportsMovesFromOutsideOnceButNotItsOwn) {
    // An odd width puts the cursor anchor's origin on a half pixel.
    QCursor::setPos(301, 300);
    controller.showStrip(PanelAnchor::cursor, std::nullopt, viewOfSize(401, 36));
    QCoreApplication::processEvents();
    controller.movePanel({10.4, 10});
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.panel()->geometry(), QRect(10, 754, 401, 36));
    EXPECT_TRUE(moves.empty()) << "the controller's own placements are not the user's moves";

    controller.handleDrag({}, false);  // no button held, no display: dropped
    controller.panel()->move(50, 60);  // as the window manager or the user would
    QCoreApplication::processEvents();
    EXPECT_EQ(moves, (std::vector<Point>{{50, 704}}));
    EXPECT_EQ(controller.lastAppliedOrigin(), (Point{50, 704}));
}

TEST_F(StripPanel, RightClicksOpenTheProvidersMenuOrPassOn) {
    auto rightClick = [this] {
        auto view = viewOfSize(400, 36);
        QWidget* tile = new QWidget(view.get());
        controller.showStrip(PanelAnchor::screenCenter, std::nullopt, std::move(view));
        QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, {205, 287});
        QApplication::sendEvent(tile, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(rightClick()) << "without a provider the click goes on as usual";
    controller.hideStrip();

    int built = 0;
    controller.setContextMenuProvider([&] {
        ++built;
        auto menu = std::make_unique<QMenu>();
        menu->addAction("Keep on Screen");
        return menu;
    });
    (void)rightClick();
    EXPECT_EQ(built, 1);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    popup->close();
    controller.hideStrip();  // the controller goes with no strip shown
    runDeferredDeletes();
}

// The card reuses its window for the next tile. Content that grows after it was placed (its
// process rows arriving) is placed again: above a strip near the bottom it grows upwards, never
// over the tile that would close it or past the screen's edge, centred on the tapped tile.
TEST(AttachedPanels, TheCardFollowsTheTappedTileAndItsOwnSize) {
    DetailPanelController card;
    const Rect strip{200, 300, 400, 36};
    card.showCard(StatKind::cpu, viewOfSize(300, 200), strip, 100);
    QWidget* window = card.panel();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(0, 506, 300, 200)) << "clamped left, 6 below the strip";
    EXPECT_EQ(card.openKind(), StatKind::cpu);

    auto content = viewOfSize(250, 100);
    QWidget* view = content.get();
    card.showCard(StatKind::memory, std::move(content), {200, 40, 400, 36}, 400);
    EXPECT_EQ(card.panel(), window);
    EXPECT_EQ(window->geometry(), QRect(275, 618, 250, 100)) << "no room below: 6 above";
    EXPECT_EQ(card.openKind(), StatKind::memory);
    view->setFixedSize(340, 400);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(window->geometry(), QRect(230, 318, 340, 400));

    card.hideCard();
    card.hideCard();
    EXPECT_EQ(card.openKind(), std::nullopt);
    EXPECT_EQ(card.panel(), nullptr);
    runDeferredDeletes();
}

}  // namespace
}  // namespace glintdeck
