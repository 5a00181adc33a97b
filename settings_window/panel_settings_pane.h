#pragma once

#include <QWidget>
#include <string>

#include "core/change_notifier.h"
#include "settings_window/settings_services.h"

class QComboBox;
class QLabel;

namespace glintdeck {

class AppSettings;
class SliderRow;
class SwitchButton;

// The panel pane: launch at login, the refresh interval, where the strip appears and its
// height, and which alerts are sent. The login switch reads the login item each time the pane is
// built; under it, a line says why the last change of it failed, or what was wrong with it when the
// program started.
class PanelSettingsPane final : public QWidget {
    Q_OBJECT

  public:
    PanelSettingsPane(AppSettings& settings, const SettingsServices& services,
                      QWidget* parent = nullptr);

    [[nodiscard]] bool launchAtLogin() const { return launchAtLogin_; }

  private:
    void setLaunchAtLogin(bool wanted);
    void showLoginProblem(const std::string& problem);
    void refresh();

    AppSettings& settings_;
    const SettingsServices& services_;
    bool launchAtLogin_ = false;
    SwitchButton* loginSwitch_;
    QLabel* loginProblem_;  // why the start at login is not as asked; hidden when nothing is wrong
    SliderRow* interval_;
    QComboBox* anchorPicker_;
    SliderRow* stripHeight_;
    Subscription subscription_;
};

}  // namespace glintdeck
