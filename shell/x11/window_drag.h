#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace glintdeck {

// Moves a window with the pointer while the left button stays down. The window manager moves
// it where one answers (_NET_WM_MOVERESIZE through QWindow::startSystemMove, focus untouched);
// with none, the window follows the pointer by hand. Either way the end of the drag is the
// release of the button, seen by asking the server for the pointer's state (the window manager
// holds the pointer during its move, so the window never sees the release). The end is
// reported exactly once, with the window's final top-left corner in Qt's global coordinates:
// after a window manager's move, only once the manager has let go of the pointer (so its last
// move has reached the server) and as the server places the window, since Qt may not have
// heard of the last move yet. Main thread only.
class WindowDrag final : public QObject {
    Q_OBJECT

  public:
    using Finished = std::function<void(QPoint topLeft)>;

    explicit WindowDrag(QObject* parent = nullptr);

    // Starts dragging the window; false (and nothing happens) without an X display, while
    // another drag runs, or when the left button is not down. A window closed during the drag
    // ends it without a report.
    [[nodiscard]] bool start(QWidget& window, Finished onFinished);

    [[nodiscard]] bool active() const { return window_ != nullptr; }

    // Whether the running (or last) drag is the window manager's.
    [[nodiscard]] bool byWindowManager() const { return byWindowManager_; }

  private:
    void follow();

    QPointer<QWidget> window_;
    Finished onFinished_;
    QTimer timer_;
    bool byWindowManager_ = false;
    int ticksAfterRelease_ = 0;
    QPoint pointerStart_;
    QPoint windowStart_;
};

}  // namespace glintdeck
