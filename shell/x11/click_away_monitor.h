#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <memory>

namespace glintdeck {

// Reports left and right button presses made outside this application's windows, wherever
// they land on the desktop: the signal to hide the strip when the user clicks elsewhere.
//
// X11 offers no global button event but XInput 2 raw events, which every client may select
// on the root window and which arrive even while another client grabs the pointer. They carry
// no position, so each press is judged by where the pointer is when it is handled: presses on
// one of our windows (strip, card, hint, menus, settings) do not count, nor do presses while one
// of our menus is open (they close the menu). "On" is the server's answer: the top-level window
// under the pointer is ours (through its window manager's frame); a window of ours that is
// minimised, covered or on another desktop does not hold clicks there. The middle button
// and the wheel never count. Main thread only; the handler runs in a
// task of its own, so it may destroy the monitor.
class ClickAwayMonitor final : public QAbstractNativeEventFilter {
  public:
    using Handler = std::function<void()>;

    // Absent when there is no X display or the server lacks XInput 2: clicking elsewhere then
    // simply does not hide anything.
    [[nodiscard]] static std::unique_ptr<ClickAwayMonitor> install(Handler handler);

    ~ClickAwayMonitor() override;  // stops listening
    ClickAwayMonitor(const ClickAwayMonitor&) = delete;
    ClickAwayMonitor& operator=(const ClickAwayMonitor&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    ClickAwayMonitor(Handler handler, uint8_t xinputOpcode);
    void pressed();

    Handler handler_;
    uint8_t xinputOpcode_;
    // Pending tasks check it, so a press handled after the monitor is gone does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace glintdeck
