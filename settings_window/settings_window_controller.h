#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "settings/color.h"
#include "settings_window/settings_services.h"
#include "settings_window/settings_view_state.h"

namespace glintdeck {

class AppSettings;
class SettingsView;

// The settings window itself: "Glintdeck Settings", the settings view with the main menu as its
// menu bar. Closing it (title-bar button, Ctrl+W) hides it and then runs onClosed.
class SettingsWindow final : public QMainWindow {
    Q_OBJECT

  public:
    SettingsWindow(AppSettings& settings, const SettingsServices& services);

    [[nodiscard]] SettingsView* view() const { return view_; }
    void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    SettingsView* view_;
    std::function<void()> onClosed_;
};

// Owns the one settings window: built by show() when none exists, and let go soon after it is
// closed, so that its widgets cost nothing for the long stretches nobody edits settings. The
// next show() builds it again where it was, showing what it showed (SettingsViewState): to the
// user it is the same window, closed and shown again. Main thread only; the settings must
// outlive the controller.
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

    // Absent until the first show() and again once a closed window was let go.
    [[nodiscard]] SettingsWindow* window() const { return window_.get(); }

    // Runs after a closed window was let go.
    void setOnReleased(std::function<void()> onReleased) { onReleased_ = std::move(onReleased); }

  private:
    void build();
    void releaseClosedWindow();

    AppSettings& settings_;
    SettingsServices services_;
    std::optional<Appearance> appearance_;
    std::unique_ptr<SettingsWindow> window_;
    // Where the last window was and what it showed, for the next one.
    QByteArray lastGeometry_;
    SettingsViewState lastViewState_;
    std::function<void()> onReleased_;
};

}  // namespace glintdeck
