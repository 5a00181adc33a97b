#pragma once

#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <optional>

#include "settings/color.h"
#include "settings_window/settings_services.h"

namespace glintdeck {

class AppSettings;
class SettingsView;

// The settings window itself: "Glintdeck Settings", the settings view with the main menu as its
// menu bar. Closing it (title-bar button, Ctrl+W) only hides it.
class SettingsWindow final : public QMainWindow {
    Q_OBJECT

  public:
    SettingsWindow(AppSettings& settings, const SettingsServices& services);

    [[nodiscard]] SettingsView* view() const { return view_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    SettingsView* view_;
};

// Owns the one settings window: created on the first show(), kept for the rest of the run, and
// brought forward with its pane and view state intact by every later show(). Main thread only;
// the settings must outlive the controller.
class SettingsWindowController final {
  public:
    SettingsWindowController(AppSettings& settings, SettingsServices services);
    ~SettingsWindowController();
    SettingsWindowController(const SettingsWindowController&) = delete;
    SettingsWindowController& operator=(const SettingsWindowController&) = delete;

    // Shows the window and gives it the keyboard. userTimestamp: the X time of the key press or
    // click that asked for it, which window managers want before they hand over focus.
    void show(std::optional<uint32_t> userTimestamp = std::nullopt);

    // The desktop's light or dark look; the window follows it from now on.
    void setAppearance(Appearance appearance);

    // Absent until the first show().
    [[nodiscard]] SettingsWindow* window() const { return window_.get(); }

  private:
    void build();

    AppSettings& settings_;
    SettingsServices services_;
    std::optional<Appearance> appearance_;
    std::unique_ptr<SettingsWindow> window_;
};

}  // namespace glintdeck
