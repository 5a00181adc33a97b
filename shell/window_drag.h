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
// holds the pointer during its move, so the window never sees the release), and is reported
// exactly once. Main thread only.
class WindowDrag final : public QObject {
    Q_OBJECT

  public:
    using Finished = std::function<void()>;

    explicit WindowDrag(QObject* parent = nullptr);

    // Starts dragging the window; false (and nothing happens) without an X display, while
    // another drag runs, or when the left button is not down.
    [[nodiscard]] bool start(QWidget& window, Finished onFinished);

    [[nodiscard]] bool active() const { return window_ != nullptr; }

  private:
    void follow();

    QPointer<QWidget> window_;
    Finished onFinished_;
    QTimer timer_;
    bool byWindowManager_ = false;
    QPoint pointerStart_;
    QPoint windowStart_;
};

}  // namespace glintdeck
