#pragma once

#include <QDBusConnection>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "desktop_bus/global_shortcuts_portal.h"
#include "platform/linux/session/desktop_session.h"
#include "settings/app_settings.h"
#include "settings_window/desktop_keys.h"
#include "shell/summon_request.h"

namespace glintdeck {

// The summon and keep-on-screen keys of a Wayland session, where the desktop owns global keys:
// bound through the desktop portal where one offers GlobalShortcuts, with the stored
// combinations as the preferred triggers (spelled through the current keymap), and otherwise
// explained, so that the user binds the command on their desktop (each launch toggles the
// strip). Presses of the bound keys arrive as onSummon and onPinToggle. Main thread only.
class DesktopShortcuts final : public QObject, public DesktopKeys {
  public:
    // The id desktops know the program by: its desktop entry's name.
    static constexpr const char* kApplicationId = "org.glintdeck.Glintdeck";

    // command: what the user binds where no portal does it. serverTime: the X server's clock
    // now (x11::serverTime), which stands in for a press time the desktop got wrong. now: the
    // portal's clock for presses (GlobalShortcutsPortal).
    DesktopShortcuts(DesktopSession session, const AppSettings& settings, QDBusConnection bus,
                     std::string command, std::function<std::optional<uint32_t>()> serverTime,
                     GlobalShortcutsPortal::Now now = std::chrono::steady_clock::now);

    // Asks the portal to bind the settings' keys; answers come later.
    void start();

    // While true the portal takes the summon and keep-on-screen keys; otherwise the program
    // grabs them on XWayland, where they work from X11 windows, the strip among them.
    // subscribe() tells of its changes as of the status's.
    [[nodiscard]] bool portalOwnsKeys() const;
    // Whether the desktop has answered: until then the status says nothing bound.
    [[nodiscard]] bool answered() const;

    std::function<void(const SummonRequest&)> onSummon;
    std::function<void()> onPinToggle;

    [[nodiscard]] Status status() const override;
    void configure() override;
    [[nodiscard]] Subscription subscribe(std::function<void()> onChange) override;

  private:
    void activated(const QString& id, const QString& activationToken, quint64 timestamp);

    DesktopSession session_;
    const AppSettings& settings_;
    std::string command_;
    std::function<std::optional<uint32_t>()> serverTime_;
    GlobalShortcutsPortal portal_;
    ChangeNotifier<bool> notifier_;
};

// The command that starts this program as the user would type it: "glintdeck" when that name
// on PATH is this program, otherwise its absolute path.
[[nodiscard]] std::string launchCommand();

}  // namespace glintdeck
