#include "shell/panel_window_controller.h"

#include <QEvent>
#include <cmath>
#include <limits>

#include "shell/floating_window.h"
#include "shell/panel_shape.h"
#include "shell/placement/placement.h"
#include "shell/qt_screens.h"
#include "shell/window_activation.h"

namespace glintdeck {

namespace {

// Windows sit on whole pixels; an origin kept with a fraction would never match the place the
// window reports, and every show would look like a user's move.
Point wholePixels(Point p) { return {std::round(p.x), std::round(p.y)}; }

Size sizeOf(const QWidget& widget) { return {double(widget.width()), double(widget.height())}; }

// Where the strip is on screen. It has no frame, so its window is all of it; Qt's frameGeometry
// asks the window manager's frame window instead, which KWin creates 1 × 1 and sizes later, and
// keeps what it measured first: a card placed by that hung over the strip.
Rect frameOf(const QWidget& strip) { return screenRect(strip.geometry()); }

double visibleWidth(const std::optional<ScreenGeometry>& screen) {
    return screen ? screen->visibleFrame.width : std::numeric_limits<double>::infinity();
}

}  // namespace

PanelWindowController::PanelWindowController(SessionKind session) : session_(session) {}

PanelWindowController::~PanelWindowController() {
    if (panel_) {
        panel_->removeEventFilter(this);  // a window being destroyed is no longer a PanelHost
        delete panel_.data();
    }
}

void PanelWindowController::setOnVisibilityChanged(std::function<void(bool)> callback) {
    onVisibilityChanged_ = std::move(callback);
}

void PanelWindowController::setOnPanelMoved(std::function<void(Point)> callback) {
    onPanelMoved_ = std::move(callback);
}

void PanelWindowController::setOnFrameChanged(std::function<void()> callback) {
    onFrameChanged_ = std::move(callback);
}

void PanelWindowController::setContextMenuProvider(PanelHost::ContextMenuProvider provider) {
    contextMenuProvider_ = std::move(provider);
}

void PanelWindowController::setPanelShape(const CompositingWatcher* compositing,
                                          double cornerRadius) {
    compositing_ = compositing;
    cornerRadius_ = cornerRadius;
}

void PanelWindowController::showStrip(PanelAnchor anchor, std::optional<Point> customPosition,
                                      std::unique_ptr<QWidget> stripView,
                                      const SummonRequest& request) {
    auto* panel = new PanelHost(session_);
    panel->setContextMenuProvider(contextMenuProvider_);
    panel->setContent(std::move(stripView));
    nameFloatingPanel(*panel, "Glintdeck", "glintdeck");
    if (compositing_ != nullptr) {
        new PanelShape(*panel, *compositing_, cornerRadius_);
    }
    panel_ = panel;

    movePanel(origin(anchor, customPosition, sizeOf(*panel)));
    panel->installEventFilter(this);
    const bool takesKeyboard = session_ == SessionKind::wayland;
    if (takesKeyboard) {
        prepareSummonActivation(*panel, request);
    }
    showFloatingPanel(*panel);
    if (takesKeyboard) {
        activateSummonedWindow(*panel, request);
    }
    if (onVisibilityChanged_) {
        onVisibilityChanged_(true);
    }
}

void PanelWindowController::hideStrip() {
    if (!panel_) {
        return;
    }
    PanelHost* panel = panel_;
    panel->removeEventFilter(this);
    panel->hide();
    // Later, not now: the hide may come from inside the strip's own click handler.
    panel->deleteLater();
    panel_ = nullptr;
    lastAppliedOrigin_.reset();
    nativeDragActive_ = false;
    if (onVisibilityChanged_) {
        onVisibilityChanged_(false);
    }
}

std::optional<Point> PanelWindowController::knownPointer() const {
    // XWayland knows the pointer only over X11 windows: in a Wayland session it is unknown.
    return session_ == SessionKind::x11 ? std::optional(pointerLocation()) : std::nullopt;
}

Point PanelWindowController::origin(PanelAnchor anchor, std::optional<Point> customPosition,
                                    Size size) const {
    return stripOrigin(anchor, customPosition, size, knownPointer(), currentScreenLayout());
}

double PanelWindowController::availableWidth(PanelAnchor anchor,
                                             std::optional<Point> customPosition) const {
    return visibleWidth(stripScreen(anchor, customPosition, knownPointer(), currentScreenLayout()));
}

void PanelWindowController::followScreens(PanelAnchor anchor, std::optional<Point> customPosition,
                                          const std::function<void(double)>& fitWidth) {
    if (!panel_) {
        return;
    }
    const Rect shown = frameOf(*panel_);
    const ScreenLayout layout = currentScreenLayout();
    fitWidth(visibleWidth(
        stripScreen(anchor, customPosition, Point{shown.midX(), shown.midY()}, layout)));
    panel_->fitContent();
    movePanel(replacedStripOrigin(anchor, customPosition, sizeOf(*panel_), shown, layout));
}

void PanelWindowController::handleDrag(QPointF, bool ended) {
    if (ended) {
        nativeDragActive_ = false;
        return;
    }
    if (nativeDragActive_ || !panel_) {
        return;
    }
    nativeDragActive_ = true;
    if (!drag_.start(*panel_, [this](QPoint topLeft) { dragFinished(topLeft); })) {
        nativeDragActive_ = false;  // no button down, no display: the strip stays put
    }
}

void PanelWindowController::dragFinished(QPoint topLeft) {
    if (!panel_) {
        return;
    }
    const Point o = screenRect(QRect(topLeft, panel_->size())).origin();
    lastAppliedOrigin_ = o;
    placedOn_ = currentScreenLayout();
    // A window manager's move holds the pointer, so the strip may never hear its gesture end;
    // the drag's own end stands for it.
    nativeDragActive_ = false;
    if (onPanelMoved_) {
        onPanelMoved_(o);
    }
}

void PanelWindowController::movePanel(Point origin) {
    if (!panel_) {
        return;
    }
    const Point placed = wholePixels(origin);
    lastAppliedOrigin_ = placed;
    placedOn_ = currentScreenLayout();
    panel_->move(qtTopLeft(placed, sizeOf(*panel_)));
}

std::optional<Rect> PanelWindowController::panelFrame() const {
    if (!panel_) {
        return std::nullopt;
    }
    return frameOf(*panel_);
}

Point PanelWindowController::currentOrigin() const { return frameOf(*panel_).origin(); }

bool PanelWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != panel_.data()) {
        return false;
    }
    if (event->type() == QEvent::Move) {
        panelDidMove();
    }
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && onFrameChanged_) {
        onFrameChanged_();
    }
    return false;
}

void PanelWindowController::panelDidMove() {
    // During a drag the window moves many times; its end reports the final place once.
    if (!panel_ || nativeDragActive_ || drag_.active()) {
        return;
    }
    const Point o = currentOrigin();
    if (lastAppliedOrigin_ == o) {
        return;  // the controller's own move
    }
    if (currentScreenLayout() != placedOn_) {
        return;  // the window system's, onto changed screens; followScreens places it
    }
    lastAppliedOrigin_ = o;
    if (onPanelMoved_) {
        onPanelMoved_(o);
    }
}

}  // namespace glintdeck
