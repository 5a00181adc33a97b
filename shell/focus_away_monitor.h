#pragma once

#include <QObject>
#include <functional>

class QWindow;

namespace glintdeck {

// In Wayland sessions, how the strip learns that the user turned away: XWayland sees no click
// on a native window, but the strip has the keyboard there, and the keyboard moving on to any
// window but ours is the same signal. Reports that the keyboard focus left this application's
// windows (moving between the strip, its card, the hint and a menu of ours is not leaving; a menu
// of ours still open then closes), and Esc pressed in a floating panel (X grabs see no key typed
// into a native window, so Esc comes through the focused window instead).
// Handlers run in a task of their own once the event is handled (none once the monitor is
// gone), so they may hide windows or destroy the monitor. Main thread only.
class FocusAwayMonitor final : public QObject {
  public:
    using Handler = std::function<void()>;

    FocusAwayMonitor(Handler onFocusLeft, Handler onEscape);
    FocusAwayMonitor(const FocusAwayMonitor&) = delete;
    FocusAwayMonitor& operator=(const FocusAwayMonitor&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void focusWindowChanged(QWindow* window);
    void post(const Handler& handler);

    Handler onFocusLeft_;
    Handler onEscape_;
};

}  // namespace glintdeck
