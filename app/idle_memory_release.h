#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace glintdeck {

// Gives memory back once nothing of the HUD is on screen. The program spends most of the session
// hidden, but what the strip, a card or the settings window used stays with it: heap pages malloc
// keeps for reuse after their widgets were freed, and Qt's cache of painted pixmaps. schedule()
// after a view went away; a moment later, if nothing shows by then, both go, once. Main thread
// only.
class IdleMemoryRelease final : public QObject {
  public:
    // anythingShown: whether a view of ours is on screen, asked when the moment comes.
    explicit IdleMemoryRelease(std::function<bool()> anythingShown);

    void schedule();

  private:
    void release();

    std::function<bool()> anythingShown_;
    QTimer timer_;
};

}  // namespace glintdeck
