#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QScreen;

namespace glintdeck {

// Tells when the screens change: one added or removed, another made the primary one, or a
// screen's geometry or available geometry changed (a new resolution through RandR, a panel or a
// dock resized). Changes that come together (a new resolution moves every screen beside it) are
// told once, as soon as the event loop has taken them all. Main thread only.
class ScreenChangeWatcher final : public QObject {
  public:
    explicit ScreenChangeWatcher(std::function<void()> onChange);

  private:
    void watch(QScreen* screen);
    void changed() { settle_.start(); }

    std::function<void()> onChange_;
    QTimer settle_;
};

}  // namespace glintdeck
