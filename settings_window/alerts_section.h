#pragma once

#include <QGroupBox>
#include <array>

#include "core/change_notifier.h"
#include "settings/alert_watch.h"

namespace glintdeck {

class AppSettings;
class SwitchButton;

// The Alerts section of the panel pane: a switch per watch that may send a desktop notification
// while the strip is hidden, following the settings both ways.
class AlertsSection final : public QGroupBox {
  public:
    AlertsSection(AppSettings& settings, QWidget* parent);

  private:
    void refresh();

    AppSettings& settings_;
    std::array<SwitchButton*, kAllAlertWatches.size()> switches_{};
    Subscription subscription_;
};

}  // namespace glintdeck
