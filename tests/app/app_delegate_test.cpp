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
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <functional>

#include "core/task_queue_main_thread.h"
#include "settings/preferences_store.h"
#include "shell/qt_screens.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_sampler_factory.h"
#include "views/stat_detail_view.h"
#include "views/stat_tile_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {
namespace {

// Runs the event loop until the condition holds; false after five seconds.
bool runUntil(const std::function<bool()>& condition) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    check.start(5);
    bool timedOut = false;
    QTimer::singleShot(5000, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    loop.exec();
    return !timedOut;
}

// Runs the event loop until the first-run hint was due (0.2 s after launch): Qt fires timers in
// the order they expire, so a timer of the same delay started later fires after the hint's.
void passTheHintsMoment() {
    bool passed = false;
    QTimer::singleShot(200, [&] { passed = true; });
    ASSERT_TRUE(runUntil([&] { return passed; }));
}

void press(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    QPointF global = widget->mapToGlobal(local);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, local, local, global, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

bool shown(const QWidget* window) { return window != nullptr && window->isVisible(); }

class AppDelegateTest : public ::testing::Test {
  protected:
    AppDelegateTest() {
        settings_.setEnabledStats({StatKind::cpu, StatKind::memory});
        settings_.setHasSeenHint(true);
    }

    AppDelegate& launch() {
        delegate_ = std::make_unique<AppDelegate>(
            settings_,
            AppEnvironment{.mainThread = mainThread_,
                           .samplers = samplers_,
                           .descriptors = {.clock = std::make_shared<FakeClock>()},
                           .compositing = nullptr,
                           .settingsServices = {.activate =
                                                    [this](QWidget&, std::optional<uint32_t> time) {
                                                        activations_.push_back(time);
                                                    }},
                           .userInputTime = [this] { return inputTime_; },
                           .session = session_,
                           .catchDesktopClicks = catchDesktopClicks_});
        delegate_->applicationDidFinishLaunching();
        return *delegate_;
    }

    [[nodiscard]] QWidget* strip() const { return delegate_->panel().panel(); }
    [[nodiscard]] StatsStripView* stripView() const {
        return strip() == nullptr ? nullptr : strip()->findChild<StatsStripView*>();
    }
    void tapTile(StatKind kind) {
        ASSERT_NE(stripView(), nullptr);
        press(stripView()->tile(kind));
    }
    [[nodiscard]] bool menuItemEnabled(const QString& title) {
        std::unique_ptr<QMenu> menu = delegate_->contextMenu();
        for (QAction* action : menu->actions()) {
            if (action->text() == title) return action->isEnabled();
        }
        ADD_FAILURE() << "no menu item " << title.toStdString();
        return false;
    }

    TaskQueueMainThread mainThread_;
    FakeSamplerFactory samplers_;
    AppSettings settings_{PreferencesStore::inMemory()};
    std::unique_ptr<AppDelegate> delegate_;
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
        settings_.setAnchor(PanelAnchor::topCenter);  // away from the screen's edges
        settings_.setHasSeenHint(c.seenBefore);
        AppDelegate& delegate = launch();
        EXPECT_TRUE(shown(strip())) << "every launch shows the strip";
        EXPECT_FALSE(shown(delegate.hintPanel().panel())) << "the hint comes a moment later";
        if (c.hideAtOnce) delegate.toggleStrip();
        passTheHintsMoment();
        EXPECT_EQ(shown(delegate.hintPanel().panel()), c.hintShown);
        EXPECT_EQ(settings_.hasSeenHint(), c.seenBefore || c.hintShown);
        if (c.hintShown) {
            Rect hint = screenRect(delegate.hintPanel().panel()->frameGeometry());
            Rect frame = *delegate.panel().panelFrame();
            EXPECT_LT(hint.maxY(), frame.minY()) << "under the strip";
            EXPECT_NEAR(hint.midX(), frame.midX(), 1);
        }
        delegate_.reset();
    }
}

TEST_F(AppDelegateTest, ChangingTheIntervalRestartsSamplingWithEmptyHistories) {
    AppDelegate& delegate = launch();
    ASSERT_EQ(samplers_.runs.size(), 1u);
    samplers_.runs[0].cpu(CPUSample{.totalUsagePercent = 40});
    samplers_.runs[0].memory(MemorySample{.usedBytes = 1, .totalBytes = 2});
    mainThread_.runPending();
    ASSERT_EQ(delegate.store().cpuHistory().ordered().size(), 1u);

    settings_.setInterval(2.0);
    ASSERT_EQ(samplers_.runs.size(), 2u);
    for (const auto& sampler : samplers_.runs[0].samplers) EXPECT_EQ(sampler->stops, 1);
    EXPECT_EQ(samplers_.runs[1].interval, 2.0);
    EXPECT_TRUE(delegate.store().isRunning());
    EXPECT_TRUE(delegate.store().cpuHistory().ordered().empty());
    EXPECT_TRUE(delegate.store().memoryHistory().ordered().empty());
    EXPECT_EQ(delegate.store().cpuHistory().capacity(), 30) << "a minute at the new interval";
    // The strip is up, so the new run measures the top processes too.
    EXPECT_EQ(samplers_.runs[1].samplers.back()->starts, 1);
}

TEST_F(AppDelegateTest, ATileOpensItsCardTheSameTileClosesItAnotherReplacesIt) {
    AppDelegate& delegate = launch();
    ASSERT_TRUE(runUntil([&] { return stripView() && stripView()->tile(StatKind::memory); }));
    // The strip's descriptors carry no detail rows; the open card's must.
    auto cardRows = [&] {
        for (auto* view : delegate.detailPanel().panel()->findChildren<StatDetailView*>()) {
            // The replaced content lingers, hidden, until it is deleted.
            if (view->isVisible() && view->descriptor()) return view->descriptor()->detail;
        }
        return std::vector<StatDescriptor::Row>{};
    };

    tapTile(StatKind::cpu);
    EXPECT_EQ(delegate.detailPanel().openKind(), StatKind::cpu);
    QWidget* card = delegate.detailPanel().panel();
    EXPECT_TRUE(shown(card));

    tapTile(StatKind::memory);
    EXPECT_EQ(delegate.detailPanel().openKind(), StatKind::memory);
    EXPECT_EQ(delegate.detailPanel().panel(), card) << "one card window, new content";
    EXPECT_TRUE(shown(card));
    ASSERT_FALSE(cardRows().empty());
    EXPECT_EQ(cardRows().back().first, "Pressure") << "the memory card's own rows";

    tapTile(StatKind::memory);
    EXPECT_EQ(delegate.detailPanel().openKind(), std::nullopt);
    EXPECT_FALSE(shown(delegate.detailPanel().panel()));

    tapTile(StatKind::cpu);
    EXPECT_EQ(delegate.detailPanel().openKind(), StatKind::cpu);
}

TEST_F(AppDelegateTest, EveryHideUnpinsAndClosesCardAndHint) {
    struct Route {
        const char* name;
        std::function<void()> hide;
        bool opensSettings;
    };
    for (const Route& route :
         {Route{"summon key", [this] { delegate_->toggleStrip(); }, false},
          Route{"Settings… in the menu", [this] { delegate_->openSettingsFromMenu(); }, true},
          Route{"the strip's settings button",
                [this] {
                    for (QWidget* item : stripView()->findChildren<QWidget*>()) {
                        if (item->accessibleName() == "Settings") return press(item);
                    }
                    FAIL() << "no settings button";
                },
                true}}) {
        SCOPED_TRACE(route.name);
        settings_.setHasSeenHint(false);
        AppDelegate& delegate = launch();
        ASSERT_TRUE(runUntil([&] { return shown(delegate.hintPanel().panel()); }));
        ASSERT_TRUE(runUntil([&] { return stripView() && stripView()->tile(StatKind::cpu); }));
        tapTile(StatKind::cpu);
        delegate.togglePin();
        ASSERT_TRUE(settings_.isPinned());
        ASSERT_TRUE(delegate.store().panelVisible());

        route.hide();
        EXPECT_EQ(strip(), nullptr);
        EXPECT_FALSE(settings_.isPinned());
        EXPECT_EQ(delegate.detailPanel().openKind(), std::nullopt);
        EXPECT_FALSE(shown(delegate.detailPanel().panel()));
        EXPECT_FALSE(shown(delegate.hintPanel().panel()));
        EXPECT_FALSE(delegate.store().panelVisible()) << "the top processes stop with the strip";
        EXPECT_EQ(shown(delegate.settingsWindow().window()), route.opensSettings);

        delegate.toggleStrip();
        EXPECT_FALSE(settings_.isPinned()) << "the next summon starts unpinned";
        EXPECT_TRUE(delegate.store().panelVisible());
        delegate_.reset();
    }
}

TEST_F(AppDelegateTest, OnlyAnAnchoredStripRemembersWhereItWasMovedAndResetForgetsIt) {
    for (PanelAnchor anchor : {PanelAnchor::cursor, PanelAnchor::screenCenter,
                               PanelAnchor::topCenter, PanelAnchor::bottomCenter}) {
        SCOPED_TRACE(static_cast<int>(anchor));
        settings_.setAnchor(anchor);
        AppDelegate& delegate = launch();
        ASSERT_TRUE(shown(strip()));
        EXPECT_FALSE(menuItemEnabled("Reset Position"));

        strip()->move(30, 40);  // as the window manager does at the end of a drag
        ASSERT_TRUE(runUntil([&] { return strip()->pos() == QPoint(30, 40); }));
        QCoreApplication::processEvents();
        const bool remembers = anchor != PanelAnchor::cursor;
        Point moved = screenRect(strip()->frameGeometry()).origin();
        EXPECT_EQ(settings_.customPosition(), remembers ? std::optional(moved) : std::nullopt);
        EXPECT_EQ(menuItemEnabled("Reset Position"), remembers);

        delegate.resetPosition();
        QCoreApplication::processEvents();
        EXPECT_EQ(settings_.customPosition(), std::nullopt)
            << "the reset's own move is not taken for the user's";
        Size size{double(strip()->width()), double(strip()->height())};
        Point anchored = delegate.panel().origin(anchor, std::nullopt, size);
        EXPECT_EQ(screenRect(strip()->frameGeometry()).origin(),
                  (Point{std::round(anchored.x), std::round(anchored.y)}));
        delegate_.reset();
    }
}

// A strip that the window manager puts elsewhere (sway centres every floating window) or sizes
// otherwise (KWin, for a moment at the start) takes its card along: the card stayed where the
// strip had been asked to go, over the strip.
TEST_F(AppDelegateTest, TheCardFollowsTheStripWhereverTheWindowManagerPutsIt) {
    settings_.setAnchor(PanelAnchor::topCenter);
    AppDelegate& delegate = launch();
    ASSERT_TRUE(runUntil([&] { return stripView() && stripView()->tile(StatKind::cpu); }));
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
    settings_.setEnabledStats({StatKind::cpu, StatKind::memory, StatKind::disk, StatKind::network,
                               StatKind::loadAverage, StatKind::uptime});
    settings_.setAnchor(PanelAnchor::topCenter);
    setScreenSize(1920, 1080);
    AppDelegate& delegate = launch();
    ASSERT_TRUE(runUntil([&] { return stripView() && stripView()->tile(StatKind::memory); }));
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
    EXPECT_EQ(settings_.customPosition(), std::nullopt) << "the window system's move is not ours";
    const QRect card = delegate.detailPanel().panel()->geometry();
    EXPECT_TRUE(screen.contains(card)) << card.y() << " " << card.height();
    EXPECT_GE(card.top(), strip()->geometry().bottom() + 6) << "below the strip, not over it";
}

// Window managers with focus-stealing prevention raise a window only for a request that carries
// the user's time; the settings button and the strip's menu once sent none.
TEST_F(AppDelegateTest, TheButtonAndTheMenuOpenSettingsWithTheClicksTimeAndNameTheRealKey) {
    AppDelegate& delegate = launch();
    inputTime_ = 4242;
    press(stripView()->rowItems().back());  // the settings button
    inputTime_ = 5151;
    delegate.toggleStrip();
    std::unique_ptr<QMenu> menu = delegate.contextMenu();
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(QStringLiteral("Settings…"))) continue;
        // The key named is the one that opens the window from the strip, not Ctrl+,.
        EXPECT_EQ(action->text(), QStringLiteral("Settings…\tSuper+,"));
        EXPECT_TRUE(action->shortcut().isEmpty());
        action->trigger();
    }
    EXPECT_EQ(activations_, (std::vector<std::optional<uint32_t>>{4242, 5151}));
    delegate_.reset();
}

TEST_F(AppDelegateTest, ShutdownStopsSamplingAndTheSettingsNoLongerReachTheDelegate) {
    AppDelegate& delegate = launch();
    delegate.togglePin();
    std::unique_ptr<QMenu> menu = delegate.contextMenu();
    EXPECT_TRUE(menu->actions().front()->isChecked()) << "Keep on Screen shows the pin";

    delegate.applicationWillTerminate();
    delegate.applicationWillTerminate();
    for (const auto& sampler : samplers_.runs[0].samplers) EXPECT_EQ(sampler->stops, 1);
    EXPECT_FALSE(delegate.store().isRunning());
    delegate_.reset();

    settings_.setInterval(3.0);
    settings_.setHotKey(HotKeyBinding{13, HotKeyBinding::command});
    EXPECT_EQ(samplers_.runs.size(), 1u) << "no restart after the delegate is gone";
}

}  // namespace
}  // namespace glintdeck
