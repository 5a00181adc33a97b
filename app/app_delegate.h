#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "alerts/machine_alerts.h"
#include "app/hud_feed.h"
#include "app/idle_memory_release.h"
#include "core/stats_store.h"
#include "platform/linux/session/session_kind.h"
#include "settings_window/settings_window_controller.h"
#include "shell/attached_panel_controllers.h"
#include "shell/focus_away_monitor.h"
#include "shell/hot_key_service.h"
#include "shell/panel_window_controller.h"
#include "shell/screen_change_watcher.h"
#include "shell/summon_request.h"
#include "shell/x11/click_away_monitor.h"
#include "shell/x11/desktop_click_catcher.h"

class QMenu;

namespace glintdeck {

class CompositingWatcher;
class DesktopNotifications;
class DesktopShortcuts;

// What the program around the delegate provides: where samples come from and go, the desktop's
// look, and the services of the settings window.
struct AppEnvironment {
    MainThread& mainThread;
    SamplerFactory& samplers;
    DescriptorEnvironment descriptors;
    // Followed for panel shapes; none: panels are always translucent.
    const CompositingWatcher* compositing = nullptr;
    // The delegate supplies summonHotKeyRefusal and onOpenSettings itself.
    SettingsServices settingsServices;
    // The X time of the click or key press being handled, for the focus request of a window it
    // opens. None: requests go without one.
    std::function<std::optional<uint32_t>()> userInputTime;
    // A Wayland session's desktop, which owns the summon and keep-on-screen keys while its
    // portal binds them. None: an X11 session, where the program grabs them itself.
    DesktopShortcuts* desktopShortcuts = nullptr;
    // A Wayland session: the strip takes the keyboard and hides when it moves elsewhere, Esc
    // comes through the strip, and "under the pointer" is the top of the main screen.
    SessionKind session = SessionKind::x11;
    // A Wayland session whose desktop leaves the keyboard in place at a click on the bare
    // background (GNOME, KDE): while the strip shows, unpinned, such a click is caught there
    // (DesktopClickCatcher).
    bool catchDesktopClicks = false;
    // Where alerts go, and the sampler that watches for them; without either, no alerts.
    DesktopNotifications* notifications = nullptr;
    MachineAlerts::MakeWatchSampler makeWatchSampler;
    // Below 1, every alert time is that much shorter (the end-to-end test).
    double alertTimeScale = 1;
    // How long samples may wait before they reach the main thread, in seconds: set on every
    // hide, and to zero before every show. None: they arrive as they are taken.
    std::function<void(double seconds)> setSampleDeliverySpacing;
};

// The conductor: owns the store, the panel controllers, the hot keys and the settings window,
// and routes every user action (summon, Esc, a tile, the menus, a click elsewhere or, in a
// Wayland session, the keyboard moving elsewhere) to them. Launch and shutdown run in a fixed
// order; the summon key and click-away (focus-away on Wayland) are live for the whole run, Esc,
// Super+comma and the pin key only while the strip shows. Main thread only; the settings must
// outlive the delegate, which detaches its callbacks from them when destroyed.
class AppDelegate final : public QObject {
  public:
    AppDelegate(AppSettings& settings, AppEnvironment environment);
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    // Idempotent; the destructor runs it if the program did not.
    void applicationWillTerminate();

    // The request says how the user asked: a window may take the keyboard only on behalf of a
    // recent user action.
    void toggleStrip(const SummonRequest& request = {});
    [[nodiscard]] std::unique_ptr<QMenu> contextMenu();

    // Menu actions.
    void togglePin();
    void resetPosition();
    void openSettingsFromMenu();
    void quitFromMenu();

    void setAppearance(Appearance appearance);

    // For the program's own wiring and for tests.
    [[nodiscard]] StatsStore& store() { return store_; }
    [[nodiscard]] PanelWindowController& panel() { return panel_; }
    [[nodiscard]] DetailPanelController& detailPanel() { return detailPanel_; }
    [[nodiscard]] HintPanelController& hintPanel() { return hintPanel_; }
    [[nodiscard]] SettingsWindowController& settingsWindow() { return settingsWindow_; }
    [[nodiscard]] const HotKeyService& hotKey() const { return hotKey_; }

  private:
    // The settings window's services with the two the delegate answers itself: whether the
    // summon key was refused, and what "Settings…" does.
    [[nodiscard]] SettingsServices withOwnServices(SettingsServices services);
    [[nodiscard]] bool stripShown() const;
    [[nodiscard]] bool waylandSession() const {
        return environment_.session == SessionKind::wayland;
    }
    void hideUnlessPinned();
    // The desktop's background is covered while the strip is up, unpinned.
    void updateDesktopCover(bool stripUp);
    void setSampleDeliverySpacing(double seconds);
    void registerSummonHotKey();
    void registerPinHotKey();
    // Whether the program grabs the summon and keep-on-screen keys itself (not while a desktop
    // portal binds them).
    [[nodiscard]] bool grabsOwnKeys() const;
    void followDesktopShortcuts();
    void visibilityChanged(bool visible);
    void tileTapped(StatKind kind);
    // An alert's "Show": the strip, with the card of the stat it is about.
    void showAlertedCard(StatKind kind, const QString& activationToken);
    void sendAlert(const Alert& alert);
    // The screens changed while the strip may show: it, its card and its hint are fitted and
    // placed again.
    void followScreens();
    // The card and the hint go next to the strip as it now is: moved or resized by the user, the
    // screens, or a window manager that places and sizes windows itself.
    void companionsFollowStrip();
    void panelMoved(Point point);
    void hideStripAndShowSettings(std::optional<uint32_t> userTimestamp);
    [[nodiscard]] std::optional<uint32_t> userInputTime() const;
    void showHintIfFirstRun();
    void updatePanelShapes();

    AppSettings& settings_;
    AppEnvironment environment_;
    StatsStore store_;
    PanelWindowController panel_;
    DetailPanelController detailPanel_;
    HintPanelController hintPanel_;
    HotKeyService hotKey_{1};
    SettingsWindowController settingsWindow_;
    HotKeyService dismissHotKey_{2};
    HotKeyService settingsHotKey_{3};
    HotKeyService pinToggleHotKey_{4};
    std::unique_ptr<ClickAwayMonitor> clickAwayMonitor_;
    std::unique_ptr<FocusAwayMonitor> focusAwayMonitor_;
    std::unique_ptr<DesktopClickCatcher> desktopClicks_;
    HudFeed feed_;
    std::unique_ptr<MachineAlerts> alerts_;
    QPointer<StatsStripView> stripView_;  // the shown strip's view
    ScreenChangeWatcher screenChanges_{[this] { followScreens(); }};
    IdleMemoryRelease idleMemoryRelease_{
        [this] { return stripShown() || settingsWindow_.window(); }};
    Subscription desktopShortcutsSubscription_;
    bool hintAwaitsDesktop_ = false;
    bool launched_ = false;
};

}  // namespace glintdeck
