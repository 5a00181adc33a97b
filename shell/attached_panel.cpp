#include "shell/attached_panel.h"

#include <algorithm>
#include <cmath>

#include "shell/floating_window.h"
#include "shell/panel_shape.h"
#include "shell/placement/placement.h"
#include "shell/qt_screens.h"

namespace glintdeck {

AttachedPanel::AttachedPanel(std::string title, SessionKind session)
    : title_(std::move(title)), session_(session) {}

AttachedPanel::~AttachedPanel() { delete panel_.data(); }

void AttachedPanel::setPanelShape(const CompositingWatcher* compositing, double cornerRadius) {
    compositing_ = compositing;
    cornerRadius_ = cornerRadius;
}

void AttachedPanel::show(std::unique_ptr<QWidget> content, Rect stripFrame, double centreX) {
    if (!panel_) {
        panel_ = new PanelHost(session_, PanelRole::companion);
        nameFloatingPanel(*panel_, title_, "glintdeck");
        if (compositing_ != nullptr) {
            new PanelShape(*panel_, *compositing_, cornerRadius_);
        }
    }
    stripFrame_ = stripFrame;
    centreX_ = centreX;
    panel_->setOnResized(nullptr);  // placed once below, with the new content's size
    limitToRoom(*content);
    panel_->setContent(std::move(content));
    place();
    panel_->setOnResized([this] { place(); });
    showFloatingPanel(*panel_);
}

void AttachedPanel::followStrip(Rect stripFrame) {
    if (!panel_) {
        return;
    }
    if (stripFrame_.width > 0) {
        const double share = (centreX_ - stripFrame_.minX()) / stripFrame_.width;
        centreX_ = stripFrame.minX() + share * stripFrame.width;
    }
    stripFrame_ = stripFrame;
    if (QWidget* content = panel_->content()) {
        limitToRoom(*content);
    }
    panel_->fitContent();
    place();
}

void AttachedPanel::limitToRoom(QWidget& content) const {
    const Size room = attachedPanelRoom(stripFrame_, currentScreenLayout());
    // Whole pixels, at least one: a window is never empty.
    auto pixels = [](double extent) {
        return static_cast<int>(std::clamp(std::floor(extent), 1.0, double(QWIDGETSIZE_MAX)));
    };
    content.setMaximumSize(pixels(room.width), pixels(room.height));
}

void AttachedPanel::place() {
    const Size size{double(panel_->width()), double(panel_->height())};
    const Point o = attachedPanelOrigin(size, stripFrame_, centreX_, currentScreenLayout());
    panel_->move(qtTopLeft({std::round(o.x), std::round(o.y)}, size));
}

void AttachedPanel::hide() {
    if (!panel_) {
        return;
    }
    panel_->setOnResized(nullptr);
    panel_->hide();
    // Later, not now: the hide may come from inside the content's own handler.
    panel_->deleteLater();
    panel_ = nullptr;
}

}  // namespace glintdeck
