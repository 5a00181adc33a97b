// Renders every pane of the settings window, dark and light, to PNG files in the folder given
// as the only argument, so that a change to the panes can be looked at without a desktop
// (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstdio>

#include "settings/app_settings.h"
#include "settings_window/about_settings_pane.h"
#include "settings_window/appearance_settings_pane.h"
#include "settings_window/settings_view.h"
#include "settings_window/settings_window_controller.h"
#include "settings_window/stat_list_view.h"
#include "settings_window/stats_settings_pane.h"
#include "tests/settings_window/fake_services.h"

namespace glintdeck {
namespace {

bool save(QWidget& window, const QString& path) {
    if (window.grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The hot-keys pane of a Wayland session, for each kind of desktop.
bool renderWaylandHotkeys(const QString& folder, Appearance appearance, const char* suffix) {
    const std::pair<const char*, DesktopKeys::Status> desktops[] = {
        {"portal",
         {.portal = true,
          .summonTrigger = QStringLiteral("Meta+Ctrl+Alt+Q"),
          .pinTrigger = QStringLiteral("Meta+Ctrl+Alt+P"),
          .canConfigure = true}},
        {"sway",
         {.instruction = QStringLiteral("Add “bindsym Ctrl+Mod1+Mod4+q exec glintdeck” to "
                                        "your sway config, then reload it."),
          .copyText = QStringLiteral("bindsym Ctrl+Mod1+Mod4+q exec glintdeck")}},
    };
    for (const auto& [name, status] : desktops) {
        AppSettings settings(PreferencesStore::inMemory());
        SettingsServices services;
        auto keys = std::make_shared<FakeDesktopKeys>();
        keys->current = status;
        services.desktopKeys = keys;
        SettingsWindowController controller(settings, services);
        controller.setAppearance(appearance);
        controller.show();
        controller.window()->view()->select(SettingsPane::hotkeys);
        QCoreApplication::processEvents();
        if (!save(*controller.window(),
                  folder + QStringLiteral("/hotkeys-wayland-%1-%2.png").arg(name, suffix))) {
            return false;
        }
    }
    return true;
}

struct Shot {
    const char* name;
    SettingsPane pane;
    std::function<void(QWidget& pane)> prepare;
};

bool render(const QString& folder, Appearance appearance) {
    AppSettings settings(PreferencesStore::inMemory());
    settings.setEnabled(StatKind::battery, false);
    settings.setThemePreset(ThemePreset::custom);
    SettingsServices services;
    auto loginItem = std::make_shared<FakeLoginItem>();
    loginItem->enabled = true;
    services.loginItem = loginItem;
    services.summonHotKeyRefusal = [] { return HotKeyRefusal::heldElsewhere; };
    SettingsWindowController controller(settings, services);
    controller.setAppearance(appearance);
    controller.show();
    SettingsView& view = *controller.window()->view();

    const std::vector<Shot> shots{
        {"stats", SettingsPane::stats, {}},
        {"stats-memory", SettingsPane::stats,
         [](QWidget& pane) {
             static_cast<StatsSettingsPane&>(pane).list()->selectKind(StatKind::memory);
         }},
        {"stats-battery", SettingsPane::stats,
         [](QWidget& pane) {
             static_cast<StatsSettingsPane&>(pane).list()->selectKind(StatKind::battery);
         }},
        {"appearance", SettingsPane::appearance,
         [](QWidget& pane) {
             static_cast<AppearanceSettingsPane&>(pane).customizeToggle()->click();
         }},
        {"panel", SettingsPane::panel, {}},
        {"hotkeys", SettingsPane::hotkeys, {}},
        {"about", SettingsPane::about, {}},
    };
    const char* suffix = appearance == Appearance::dark ? "dark" : "light";
    for (const Shot& shot : shots) {
        // Through another pane, so each shot starts from a fresh pane.
        view.select(shot.pane == SettingsPane::about ? SettingsPane::stats : SettingsPane::about);
        view.select(shot.pane);
        if (shot.prepare) shot.prepare(*view.pane());
        QCoreApplication::processEvents();
        QString path = folder + QStringLiteral("/%1-%2.png").arg(shot.name, suffix);
        if (!save(*controller.window(), path)) return false;
    }
    if (!renderWaylandHotkeys(folder, appearance, suffix)) return false;
    auto& about = static_cast<AboutSettingsPane&>(*view.pane());
    about.findChild<QPushButton*>(QStringLiteral("resetButton"))->click();
    QCoreApplication::processEvents();
    return save(*about.confirmation(),
                folder + QStringLiteral("/about-confirm-%1.png").arg(suffix));
}

}  // namespace
}  // namespace glintdeck

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) return 1;
    for (glintdeck::Appearance appearance :
         {glintdeck::Appearance::dark, glintdeck::Appearance::light}) {
        if (!glintdeck::render(folder, appearance)) return 1;
    }
    return 0;
}
