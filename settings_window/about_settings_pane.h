#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

#include "settings_window/settings_services.h"

namespace glintdeck {

class AppSettings;

// "Version 0.1.0 (build 42)"; a missing part reads "—".
[[nodiscard]] QString versionLine(std::string_view version, std::string_view build);

// The About pane: icon, name, version, tagline, "Reset to Defaults" behind a confirmation, and
// "Quit Glintdeck".
class AboutSettingsPane final : public QWidget {
    Q_OBJECT

  public:
    AboutSettingsPane(AppSettings& settings, const SettingsServices& services,
                      QWidget* parent = nullptr);

    // The confirmation while it is open.
    [[nodiscard]] QMessageBox* confirmation() const { return confirmation_; }

  private:
    void confirmReset();

    AppSettings& settings_;
    const SettingsServices& services_;
    QPointer<QMessageBox> confirmation_;
};

}  // namespace glintdeck
