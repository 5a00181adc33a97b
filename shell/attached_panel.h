#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "shell/panel_host.h"
#include "shell/placement/geometry.h"

namespace glintdeck {

class CompositingWatcher;

// A floating window shown next to the strip, reused from show to show: the detail card and the
// first-run hint. Each show replaces the content, measures it again and places the window below
// the strip (or above it where there is no room) centred on the given x, inside the strip's
// screen. The content may be no larger than the room beside the strip (attachedPanelRoom): a
// content that needs more is given that much and shows less. Content that changes size while
// shown is placed again by the same rule, so the window never grows over the strip or past the
// screen's edge. It cannot be dragged. Main thread only.
class AttachedPanel {
  public:
    explicit AttachedPanel(std::string title, SessionKind session = SessionKind::x11);
    ~AttachedPanel();
    AttachedPanel(const AttachedPanel&) = delete;
    AttachedPanel& operator=(const AttachedPanel&) = delete;

    void setPanelShape(const CompositingWatcher* compositing, double cornerRadius);

    void show(std::unique_ptr<QWidget> content, Rect stripFrame, double centreX);
    // Places the shown window again next to the strip's new frame (the screens changed under it),
    // at the same share of the strip's width, and within the room there; nothing without one.
    void followStrip(Rect stripFrame);
    // Closes the window; nothing happens without one.
    void hide();

    [[nodiscard]] QWidget* panel() const { return panel_; }

  private:
    void limitToRoom(QWidget& content) const;
    void place();

    std::string title_;
    Rect stripFrame_;
    double centreX_ = 0;
    SessionKind session_;
    QPointer<PanelHost> panel_;
    const CompositingWatcher* compositing_ = nullptr;
    double cornerRadius_ = 0;
};

}  // namespace glintdeck
