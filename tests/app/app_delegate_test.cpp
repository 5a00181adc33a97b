#include "app/app_delegate.h"

#include <gtest/gtest.h>

#include <qpa/qplatformnativeinterface.h>
#include <qpa/qwindowsysteminterface.h>
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <functional>

#include "shell/qt_screens.h"
#include "tests/app/app_harness.h"
#include "tests/views/view_test_support.h"
#include "views/stat_tile_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

void press(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    testing_support::click(widget, QRectF(widget->rect()).center());
}

class AppDelegateTest : public ::testing::Test, protected AppHarness {
  protected:
    AppDelegateTest() {
        settings.setEnabledStats({StatKind::cpu, StatKind::memory});
        settings.setHasSeenHint(true);
    }

    AppDelegate& launch() {
        AppEnvironment launched = environment();
        launched.settingsServices.activate = [this](QWidget&, std::optional<uint32_t> time) {
            activations_.push_back(time);
        };
        launched.userInputTime = [this] { return inputTime_; };
        launched.session = session_;
        launched.catchDesktopClicks = catchDesktopClicks_;
        return AppHarness::launch(std::move(launched));
    }

    [[nodiscard]] QWidget* strip() const { return delegate->panel().panel(); }
    [[nodiscard]] StatsStripView* stripView() const {
        return strip() == nullptr ? nullptr : strip()->findChild<StatsStripView*>();
    }
    // Taps the kind's tile once the strip shows it.
    void tapTile(StatKind kind) {
        ASSERT_TRUE(runUntil([&] { return stripView() && stripView()->tile(kind); }));
        press(stripView()->tile(kind));
    }

    std::optional<uint32_t> inputTime_;
    SessionKind session_ = SessionKind::x11;
    bool catchDesktopClicks_ = false;
    std::vector<std::optional<uint32_t>> activations_;  // user times the settings window got
};

TEST_F(AppDelegateTest, TheHintFollowsTheFirstLaunchOnlyAndOnlyWhileTheStripStaysUp) {
    struct Case {
        const char* name;
        bool seenBefore;
        bool hideAtOnce;
        bool hintShown;
    };
    for (Case c : {Case{"first launch", false, false, true},
                   Case{"strip closed before the hint", false, true, false},
                   Case{"later launch", true, false, false}}) {
        SCOPED_TRACE(c.name);
        settings.setAnchor(PanelAnchor::topCenter);  // away from the screen's edges
        settings.setHasSeenHint(c.seenBefore);
        AppDelegate& app = launch();
        EXPECT_TRUE(shown(strip())) << "every launch shows the strip";
        EXPECT_FALSE(shown(app.hintPanel().panel())) << "the hint comes a moment later";
        if (c.hideAtOnce) app.toggleStrip();
        ASSERT_TRUE(passTheHintsMoment());
        EXPECT_EQ(shown(app.hintPanel().panel()), c.hintShown);
        EXPECT_EQ(settings.hasSeenHint(), c.seenBefore || c.hintShown);
        if (c.hintShown) {
            Rect hint = screenRect(app.hintPanel().panel()->frameGeometry());
            Rect frame = *app.panel().panelFrame();
            EXPECT_LT(hint.maxY(), frame.minY()) << "under the strip";
            EXPECT_NEAR(hint.midX(), frame.midX(), 1);
        }
        delegate.reset();
    }
}

TEST_F(AppDelegateTest, EveryHideUnpinsAndClosesCardAndHint) {
    struct Route {
        const char* name;
        std::function<void()> hide;
        bool opensSettings;
    };
    for (const Route& route :
         {Route{"summon key", [this] { delegate->toggleStrip(); }, false},
          Route{"Settings… in the menu", [this] { delegate->openSettingsFromMenu(); }, true},
          Route{"the strip's settings button", [this] { press(stripView()->rowItems().back()); },
                true}}) {
        SCOPED_TRACE(route.name);
        settings.setHasSeenHint(false);
        AppDelegate& app = launch();
        ASSERT_TRUE(runUntil([&] { return shown(app.hintPanel().panel()); }));
        tapTile(StatKind::cpu);
        app.togglePin();
        ASSERT_TRUE(settings.isPinned());
        ASSERT_TRUE(app.store().panelVisible());

        route.hide();
        EXPECT_EQ(strip(), nullptr);
        EXPECT_FALSE(settings.isPinned());
        EXPECT_EQ(app.detailPanel().openKind(), std::nullopt);
        EXPECT_FALSE(shown(app.hintPanel().panel()));
        EXPECT_FALSE(app.store().panelVisible()) << "the top processes stop with the strip";
        EXPECT_GT(deliverySpacing, 0) << "samples wait while nobody looks";
        EXPECT_EQ(shown(app.settingsWindow().window()), route.opensSettings);

        app.toggleStrip();
        EXPECT_FALSE(settings.isPinned()) << "the next summon starts unpinned";
        EXPECT_TRUE(app.store().panelVisible());
        EXPECT_EQ(deliverySpacing, 0);
        delegate.reset();
    }
}

// A strip that the window manager puts elsewhere (sway centres every floating window) or sizes
// otherwise (KWin, for a moment at the start) takes its card along: the card stayed where the
// strip had been asked to go, over the strip.
TEST_F(AppDelegateTest, TheCardFollowsTheStripWhereverTheWindowManagerPutsIt) {
    settings.setAnchor(PanelAnchor::topCenter);
    AppDelegate& delegate = launch();
    tapTile(StatKind::cpu);
    QWidget* card = delegate.detailPanel().panel();
    // As the window system reports a window manager's move and resize.
    auto placeStrip = [&](QRect frame) {
        QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
            strip()->windowHandle(), frame);
    };
    placeStrip(QRect(strip()->x(), 300, strip()->width(), strip()->height()));
    EXPECT_EQ(card->y(), 300 + strip()->height() + 6);
    placeStrip(QRect(strip()->x(), 300, strip()->width(), 80));
    EXPECT_EQ(card->y(), 300 + 80 + 6);
}

// GNOME and KDE move no keyboard at a click on the bare desktop, and XWayland hears of none: the
// strip stayed up, holding the keyboard. While it shows, unpinned, a cover catches such clicks.
TEST_F(AppDelegateTest, AClickOnTheBareDesktopOfAWaylandSessionHidesTheUnpinnedStrip) {
    session_ = SessionKind::wayland;
    catchDesktopClicks_ = true;
    AppDelegate& delegate = launch();
    auto cover = []() -> QWindow* {
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible() && window->title() == "Glintdeck Desktop Cover") return window;
        }
        return nullptr;
    };
    ASSERT_NE(cover(), nullptr);
    EXPECT_EQ(cover()->geometry(), QGuiApplication::primaryScreen()->geometry());
    delegate.togglePin();
    EXPECT_EQ(cover(), nullptr) << "a kept strip leaves the desktop's clicks to the desktop";
    delegate.togglePin();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), QPointF(5, 5),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(cover(), &click);
    EXPECT_TRUE(runUntil([&] { return strip() == nullptr && cover() == nullptr; }));
}

// Gives Qt's offscreen platform one screen of this size, as RandR does with a new resolution (the
// screen keeps its name, so it changes rather than one going and another coming). Until the
// next call, screen changes reach the program at once.
void setScreenSize(int width, int height, bool synchronous = true) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto configure = reinterpret_cast<void (*)(const QJsonObject&, QPlatformNativeInterface*)>(
        native->nativeResourceForIntegration("setConfiguration"));
    ASSERT_NE(configure, nullptr);
    const QJsonObject screen{{"name", ""}, {"width", width}, {"height", height}};
    configure({{"synchronousWindowSystemEvents", synchronous}, {"screens", QJsonArray{screen}}},
              native);
}

// A screen that changed while the strip showed (1920 x 1080 to a small one through RandR) left
// the strip at its old place and width, and its card off the screen, until the next summon.
TEST_F(AppDelegateTest, AScreenThatChangesUnderTheStripFitsAndPlacesStripAndCardAgain) {
    struct DefaultScreen {
        ~DefaultScreen() { setScreenSize(800, 800, false); }
    } restore;
    settings.setEnabledStats({StatKind::cpu, StatKind::memory, StatKind::disk, StatKind::network,
                              StatKind::loadAverage, StatKind::uptime});
    settings.setAnchor(PanelAnchor::topCenter);
    setScreenSize(1920, 1080);
    AppDelegate& delegate = launch();
    tapTile(StatKind::memory);
    const size_t tiles = stripView()->rowItems().size();
    ASSERT_GT(strip()->width(), 320);

    setScreenSize(320, 200);
    strip()->move(0, 150);  // as a window manager pulling it onto the shrunk screen would
    const QRect screen(0, 0, 320, 200);
    ASSERT_TRUE(runUntil([&] { return screen.contains(strip()->geometry()); }));
    EXPECT_LT(stripView()->rowItems().size(), tiles) << "tiles left out, as on a narrow screen";
    EXPECT_NEAR(strip()->x() + strip()->width() / 2.0, 160, 0.5) << "at the top centre";
    EXPECT_EQ(strip()->y(), 24);
    EXPECT_EQ(settings.customPosition(), std::nullopt) << "the window system's move is not ours";
    const QRect card = delegate.detailPanel().panel()->geometry();
    EXPECT_TRUE(screen.contains(card)) << card.y() << " " << card.height();
    EXPECT_GE(card.top(), strip()->geometry().bottom() + 6) << "below the strip, not over it";
}

// Window managers with focus-stealing prevention raise a window only for a request that carries
// the user's time; the settings button and the strip's menu once sent none.
TEST_F(AppDelegateTest, TheButtonAndTheMenuOpenSettingsWithTheClicksTimeAndNameTheRealKey) {
    AppDelegate& app = launch();
    inputTime_ = 4242;
    press(stripView()->rowItems().back());  // the settings button
    inputTime_ = 5151;
    app.toggleStrip();
    std::unique_ptr<QMenu> menu = app.contextMenu();
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(QStringLiteral("Settings…"))) continue;
        // The key named is the one that opens the window from the strip, not Ctrl+,.
        EXPECT_EQ(action->text(), QStringLiteral("Settings…\tSuper+,"));
        EXPECT_TRUE(action->shortcut().isEmpty());
        action->trigger();
    }
    EXPECT_EQ(activations_, (std::vector<std::optional<uint32_t>>{4242, 5151}));
    delegate.reset();
}

// What a restart keeps and starts afresh is the store's (stats_store_test).
TEST_F(AppDelegateTest, ChangingTheIntervalRestartsSamplingUntilShutdown) {
    AppDelegate& app = launch();
    settings.setInterval(2.0);
    ASSERT_EQ(samplers.runs.size(), 2u);
    EXPECT_EQ(samplers.runs[1].interval, 2.0);
    app.togglePin();
    std::unique_ptr<QMenu> menu = app.contextMenu();
    EXPECT_TRUE(menu->actions().front()->isChecked()) << "Keep on Screen shows the pin";

    app.applicationWillTerminate();
    app.applicationWillTerminate();
    for (const auto& sampler : samplers.runs[1].samplers) EXPECT_EQ(sampler->stops, 1);
    EXPECT_FALSE(app.store().isRunning());
    delegate.reset();

    settings.setInterval(3.0);
    settings.setHotKey(HotKeyBinding{13, HotKeyBinding::command});
    EXPECT_EQ(samplers.runs.size(), 2u) << "no restart after the delegate is gone";
}

}  // namespace
}  // namespace glintdeck
