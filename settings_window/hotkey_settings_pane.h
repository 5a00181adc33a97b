#pragma once

#include <QWidget>

#include "core/change_notifier.h"
#include "settings_window/settings_services.h"

class QFormLayout;
class QLabel;

namespace glintdeck {

class AppSettings;

// The hot-keys pane: recorders for the summon and "Keep on screen" combinations. A new summon
// combination is written at once (the settings' callback re-registers it); when it is refused,
// the row below says why. In a Wayland session the desktop owns the keys, and the pane shows
// what it bound, or how to bind one, instead (DesktopKeysSection).
class HotkeySettingsPane final : public QWidget {
    Q_OBJECT

  public:
    HotkeySettingsPane(AppSettings& settings, const SettingsServices& services,
                       QWidget* parent = nullptr);

    [[nodiscard]] QLabel* refusedWarning() const { return refused_; }

  private:
    void addRecorders();
    [[nodiscard]] QWidget* makeRecorder(HotKeyBinding binding,
                                        std::function<void(HotKeyBinding)> onRecorded);
    void refreshRefused();

    AppSettings& settings_;
    const SettingsServices& services_;
    QFormLayout* rows_;
    QLabel* refused_;
    Subscription subscription_;
};

}  // namespace glintdeck
