#pragma once

#include <QWidget>

#include "core/change_notifier.h"
#include "settings_window/settings_services.h"

class QComboBox;

namespace glintdeck {

class AppSettings;
class SliderRow;
class SwitchButton;

// The panel pane: launch at login, the refresh interval, where the strip appears and its
// height. The login switch reads the login item each time the pane is built.
class PanelSettingsPane final : public QWidget {
    Q_OBJECT

  public:
    PanelSettingsPane(AppSettings& settings, const SettingsServices& services,
                      QWidget* parent = nullptr);

    [[nodiscard]] bool launchAtLogin() const { return launchAtLogin_; }

  private:
    void setLaunchAtLogin(bool wanted);
    void refresh();

    AppSettings& settings_;
    const SettingsServices& services_;
    bool launchAtLogin_ = false;
    SwitchButton* loginSwitch_;
    SliderRow* interval_;
    QComboBox* anchorPicker_;
    SliderRow* stripHeight_;
    Subscription subscription_;
};

}  // namespace glintdeck
