#include "settings_window/settings_window_controller.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QToolButton>

#include "settings_window/appearance_settings_pane.h"
#include "settings_window/settings_palette.h"
#include "settings_window/settings_view.h"
#include "settings_window/stat_list_view.h"
#include "settings_window/stats_settings_pane.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class SettingsWindowControllerTest : public PaneTest {
  protected:
    QAction* menuItem(const QString& title) {
        for (QAction* menu : controller_->window()->menuBar()->actions()) {
            for (QAction* item : menu->menu()->actions()) {
                if (item->text() == title) return item;
            }
        }
        ADD_FAILURE() << "no menu item " << title.toStdString();
        return nullptr;
    }

    std::unique_ptr<SettingsWindowController> make() {
        return std::make_unique<SettingsWindowController>(*settings_, services_);
    }

    std::unique_ptr<SettingsWindowController> controller_;
};

TEST_F(SettingsWindowControllerTest, SecondShowBeforeTheWindowWasLetGoBringsBackTheSameWindow) {
    std::vector<std::optional<uint32_t>> activations;
    services_.activate = [&](QWidget& window, std::optional<uint32_t> timestamp) {
        EXPECT_TRUE(window.isVisible());
        activations.push_back(timestamp);
    };
    controller_ = make();
    EXPECT_EQ(controller_->window(), nullptr);

    controller_->show(1234);
    SettingsWindow* window = controller_->window();
    ASSERT_NE(window, nullptr);
    auto* stats = qobject_cast<StatsSettingsPane*>(window->view()->pane());
    ASSERT_NE(stats, nullptr);
    stats->list()->selectKind(StatKind::disk);

    window->close();
    EXPECT_FALSE(window->isVisible());
    controller_->show();
    QCoreApplication::processEvents();  // the release of the closed window comes too late
    EXPECT_EQ(controller_->window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->view()->pane(), stats);
    EXPECT_EQ(stats->selected(), StatKind::disk);
    EXPECT_EQ(activations, (std::vector<std::optional<uint32_t>>{1234, std::nullopt}));
}

// Everything the window's widgets subscribed to outlives them: once the closed window is gone,
// changes of the settings and of the desktop's keys must reach nothing of it (AddressSanitizer
// tells). The next window comes back on the pane that was selected, with its palette. Closing
// must not count as the last window closing: with no other window open, that quits the program.
TEST_F(SettingsWindowControllerTest, AClosedWindowIsLetGoAndTheNextShowBuildsItAgain) {
    auto keys = std::make_shared<FakeDesktopKeys>();
    services_.desktopKeys = keys;
    services_.loginItem = std::make_shared<FakeLoginItem>();
    controller_ = make();
    int released = 0;
    controller_->setOnReleased([&] { ++released; });
    controller_->setAppearance(Appearance::light);
    int lastClosed = 0;
    QObject listener;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &listener, [&] { ++lastClosed; });

    for (SettingsPane pane : {SettingsPane::panel, SettingsPane::hotkeys}) {
        controller_->show();
        controller_->window()->view()->select(pane);
        QPointer<SettingsWindow> window = controller_->window();
        window->close();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(controller_->window(), nullptr);

        settings_->setInterval(2);
        keys->set({.portal = true, .summonTrigger = QStringLiteral("Meta+F12")});
        controller_->show();
        EXPECT_EQ(controller_->window()->view()->selection(), pane);
        EXPECT_EQ(controller_->window()->palette(),
                  settingsPalette(Appearance::light, QApplication::palette()));
        controller_->window()->close();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(released, 4) << "two windows a pane";
    EXPECT_EQ(lastClosed, 0);
}

// The closed window is let go, but to the user it is the same window shown again: it used to
// come back on its pane with the pane's own state lost (the selected stat, an open group).
TEST_F(SettingsWindowControllerTest, AWindowBuiltAgainShowsWhatTheClosedOneShowed) {
    // Large text, as with a desktop's larger fonts, makes the stat list scroll.
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(font.family(), font.pointSize() * 2));
    settings_->setThemePreset(ThemePreset::custom);
    controller_ = make();
    auto closeAndShowAgain = [this] {
        controller_->window()->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(controller_->window(), nullptr) << "let go";
        controller_->show();
        return controller_->window()->view()->pane();
    };

    controller_->show();
    auto* stats = qobject_cast<StatsSettingsPane*>(controller_->window()->view()->pane());
    stats->list()->selectKind(StatKind::temps);
    ASSERT_GE(stats->list()->verticalScrollBar()->maximum(), 2);
    stats->list()->verticalScrollBar()->setValue(2);
    stats = qobject_cast<StatsSettingsPane*>(closeAndShowAgain());
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->selected(), StatKind::temps);
    EXPECT_EQ(stats->list()->verticalScrollBar()->value(), 2);

    controller_->window()->view()->select(SettingsPane::appearance);
    auto* appearance = qobject_cast<AppearanceSettingsPane*>(controller_->window()->view()->pane());
    appearance->customizeToggle()->click();
    appearance = qobject_cast<AppearanceSettingsPane*>(closeAndShowAgain());
    ASSERT_NE(appearance, nullptr);
    EXPECT_TRUE(appearance->isCustomizeOpen());
    QApplication::setFont(font);
}

TEST_F(SettingsWindowControllerTest, AnotherPaneStartsTheStatsPaneAfresh) {
    controller_ = make();
    controller_->show();
    SettingsView* view = controller_->window()->view();
    qobject_cast<StatsSettingsPane*>(view->pane())->list()->selectKind(StatKind::cpu);

    view->sidebar()->setCurrentRow(static_cast<int>(SettingsPane::about));
    EXPECT_EQ(view->selection(), SettingsPane::about);
    view->sidebar()->setCurrentRow(static_cast<int>(SettingsPane::stats));
    auto* stats = qobject_cast<StatsSettingsPane*>(view->pane());
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->selected(), std::nullopt);

    // Nothing selected in the sidebar shows the stats pane.
    view->select(std::nullopt);
    EXPECT_NE(qobject_cast<StatsSettingsPane*>(view->pane()), nullptr);
}

TEST_F(SettingsWindowControllerTest, MenuItemsReachTheShell) {
    int quits = 0, settingsOpened = 0;
    services_.onQuit = [&] { ++quits; };
    services_.onOpenSettings = [&] { ++settingsOpened; };
    controller_ = make();
    controller_->show();
    menuItem(QStringLiteral("Settings…"))->trigger();
    menuItem(QStringLiteral("Quit Glintdeck"))->trigger();
    EXPECT_EQ(std::pair(settingsOpened, quits), std::pair(1, 1));
    menuItem(QStringLiteral("Close"))->trigger();
    EXPECT_FALSE(controller_->window()->isVisible());
}

}  // namespace
}  // namespace glintdeck
