#pragma once

#include <QPointer>
#include <QWindow>
#include <functional>
#include <vector>

namespace glintdeck {

// A click on the empty desktop, in Wayland sessions of desktops that leave the keyboard where it
// was when the user clicks there (GNOME Shell; KWin where no desktop window fills the screen).
// XWayland sees no such click, and the strip keeps the keyboard, so nothing would tell it that the
// user turned away. While covering, a transparent window of the desktop's own type lies on each
// screen: window managers keep such windows below every other, so a click on the bare background
// lands on it, while clicks on windows reach them as before. That first click goes no further
// (whatever the background would have done with it), and the covers are composited like any
// window for as long as they lie there. Main thread only; the handler runs in a task of its own,
// so it may uncover or destroy the catcher.
class DesktopClickCatcher {
  public:
    explicit DesktopClickCatcher(std::function<void()> onClick);
    ~DesktopClickCatcher();
    DesktopClickCatcher(const DesktopClickCatcher&) = delete;
    DesktopClickCatcher& operator=(const DesktopClickCatcher&) = delete;

    // Covers every screen as the screens are now (again, where they changed).
    void cover();
    void uncover();

  private:
    std::function<void()> onClick_;
    std::vector<QPointer<QWindow>> covers_;
};

}  // namespace glintdeck
