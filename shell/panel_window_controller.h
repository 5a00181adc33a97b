#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "platform/linux/session/session_kind.h"
#include "settings/panel_anchor.h"
#include "shell/panel_host.h"
#include "shell/placement/geometry.h"
#include "shell/summon_request.h"
#include "shell/x11/window_drag.h"

namespace glintdeck {

class CompositingWatcher;

// Owns the floating strip: a borderless panel above ordinary windows on every desktop, placed
// by its anchor or where the user dragged it, created on every show and destroyed on every
// hide. Reports visibility changes and user moves through callbacks and pops up the owner's
// menu on a right click. All points are screen coordinates (origin bottom-left of the primary
// screen, y up); origins the controller applies are whole pixels, so the window lands exactly
// where lastAppliedOrigin says. In a Wayland session the strip takes the keyboard as it appears,
// and "under the pointer" is the top centre of the main screen (XWayland does not know where
// the pointer is). Main thread only.
class PanelWindowController final : public QObject {
  public:
    static constexpr double edgeMargin = 24;

    explicit PanelWindowController(SessionKind session = SessionKind::x11);
    ~PanelWindowController() override;

    void setOnVisibilityChanged(std::function<void(bool)> callback);
    void setOnPanelMoved(std::function<void(Point)> callback);
    // Called whenever the shown strip's window moves or changes size, whoever moved it: the
    // controller, the user, or a window manager that places and sizes windows itself.
    void setOnFrameChanged(std::function<void()> callback);
    void setContextMenuProvider(PanelHost::ContextMenuProvider provider);
    // With a watcher, panels are cut to a rounded rectangle of this radius while no compositing
    // manager runs (their corners would show black otherwise).
    void setPanelShape(const CompositingWatcher* compositing, double cornerRadius);

    // Shows the strip view in a new panel at its natural size. Called only when no strip shows.
    // The request is the reason given for taking the keyboard in a Wayland session.
    void showStrip(PanelAnchor anchor, std::optional<Point> customPosition,
                   std::unique_ptr<QWidget> stripView, const SummonRequest& request = {});
    // Closes the strip; nothing happens (and nothing is reported) without one.
    void hideStrip();

    // Where a panel of this size goes for the anchor or custom position, on the current screens
    // and pointer.
    [[nodiscard]] Point origin(PanelAnchor anchor, std::optional<Point> customPosition,
                               Size size) const;

    // The visible width of the screen a strip shown now would go to; unlimited without screens.
    [[nodiscard]] double availableWidth(PanelAnchor anchor,
                                        std::optional<Point> customPosition) const;

    // The strip's drag gesture: starts a window drag on its first report, ends it with the
    // last; the final origin is reported once through onPanelMoved.
    void handleDrag(QPointF translation, bool ended);

    // Places the shown strip again after the screens changed (ScreenChangeWatcher), on the
    // screen it is on, or the main one where that one went: fitWidth first gets that screen's
    // visible width (the strip's view compacts or leaves out tiles to fit it), then the strip goes
    // where its anchor or remembered position puts it there (replacedStripOrigin). Moves the
    // window system makes while the screens are not those the strip was placed on (a window
    // manager pulling it onto a shrunk screen) are not reported as the user's. Nothing happens
    // without a strip.
    void followScreens(PanelAnchor anchor, std::optional<Point> customPosition,
                       const std::function<void(double)>& fitWidth);

    // Moves the shown strip to an origin of the controller's own choosing (Reset Position):
    // recorded as the last applied origin, so the move is not reported as the user's.
    void movePanel(Point origin);

    [[nodiscard]] QWidget* panel() const { return panel_; }
    [[nodiscard]] std::optional<Rect> panelFrame() const;
    [[nodiscard]] const std::optional<Point>& lastAppliedOrigin() const {
        return lastAppliedOrigin_;
    }
    void setLastAppliedOrigin(std::optional<Point> origin) { lastAppliedOrigin_ = origin; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The pointer, where the session lets us know it.
    [[nodiscard]] std::optional<Point> knownPointer() const;
    void panelDidMove();
    void dragFinished(QPoint topLeft);
    [[nodiscard]] Point currentOrigin() const;

    SessionKind session_;
    QPointer<PanelHost> panel_;
    std::function<void(bool)> onVisibilityChanged_;
    std::function<void(Point)> onPanelMoved_;
    std::function<void()> onFrameChanged_;
    PanelHost::ContextMenuProvider contextMenuProvider_;
    std::optional<Point> lastAppliedOrigin_;
    ScreenLayout placedOn_;  // the screens as they were at the last placement or drag
    bool nativeDragActive_ = false;
    WindowDrag drag_;
    const CompositingWatcher* compositing_ = nullptr;
    double cornerRadius_ = 0;
};

}  // namespace glintdeck
