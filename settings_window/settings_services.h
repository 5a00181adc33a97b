#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/hot_key_binding.h"
#include "settings/hot_key_refusal.h"
#include "settings/login_item.h"
#include "settings_window/desktop_keys.h"

namespace glintdeck {

// Builds the control that shows a hot key and records a new one; it calls onRecorded with each
// newly recorded combination. The shell supplies its recorder through this.
using HotKeyRecorderFactory = std::function<QWidget*(
    HotKeyBinding binding, std::function<void(HotKeyBinding)> onRecorded, QWidget* parent)>;

// What the settings window needs from the program around it. Every member may be left empty;
// the comments say what happens then.
struct SettingsServices {
    // "Launch at login". None: the switch shows off and is disabled.
    std::shared_ptr<LoginItem> loginItem;

    // A problem with the start at login found when the program started (an entry of earlier
    // versions that could not be brought up to date), shown under the switch. Empty: none.
    std::string loginItemProblem;

    // Where a failed launch-at-login change is reported besides under the switch. None:
    // standard error and the system log.
    std::function<void(std::string_view message)> log;

    // The hot-key recorder. None: the binding is shown, not editable.
    HotKeyRecorderFactory makeHotKeyRecorder;

    // In Wayland sessions the desktop owns the global keys: the pane shows what it bound, or
    // how to bind the key, instead of the recorders. None: an X11 session.
    std::shared_ptr<DesktopKeys> desktopKeys;

    // Why the summon combination is currently refused, if it is (another program or another of
    // our keys holds it, the keyboard lacks a modifier). Asked when the hot-keys pane appears
    // and after each new summon binding is written. None: never refused.
    std::function<std::optional<HotKeyRefusal>()> summonHotKeyRefusal;

    // "Quit Glintdeck" in the menu and the About pane. None: the Qt application quits.
    std::function<void()> onQuit;

    // The menu's "Settings…". None: the window is shown again.
    std::function<void()> onOpenSettings;

    // Brings the window forward and gives it the keyboard. The shell passes the user action's X
    // timestamp to the window manager, which refuses focus requests without a recent one. None:
    // raise and activate through Qt.
    std::function<void(QWidget& window, std::optional<uint32_t> userTimestamp)> activate;

    // The program's icon file: the window's icon (its dialogs inherit it) and the About pane's.
    // Read only when a window that shows it is built, since loading it loads the SVG renderer.
    // None: no icon is shown.
    QString iconFile;

    // The program runs in a Wayland session, where the pointer's place is unknown: the Panel
    // pane says what "under the pointer" means there.
    bool waylandSession = false;
};

}  // namespace glintdeck
