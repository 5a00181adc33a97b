#include "shell/panel_shape.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "shell/x11/compositing_watcher.h"

namespace glintdeck {

QRegion roundedRectRegion(QSize size, double radius) {
    const int width = size.width();
    const int height = size.height();
    if (width <= 0 || height <= 0) return {};
    const double r = std::clamp(radius, 0.0, std::min(width, height) / 2.0);
    // Built row by row rather than painted: painting a bitmap and tracing it back into a
    // region took most of a summon's time without a compositing manager.
    const int cornerRows = static_cast<int>(std::ceil(r));
    QRegion region(0, cornerRows, width, std::max(0, height - 2 * cornerRows));
    for (int row = 0; row < cornerRows; ++row) {
        const double dy = r - (row + 0.5);
        const double reach = std::sqrt(std::max(0.0, r * r - dy * dy));
        const int inset = std::max(0, static_cast<int>(std::ceil(r - reach - 0.5)));
        const int span = width - 2 * inset;
        if (span <= 0) continue;
        region += QRect(inset, row, span, 1);
        region += QRect(inset, height - 1 - row, span, 1);
    }
    return region;
}

PanelShape::PanelShape(QWidget& window, const CompositingWatcher& compositing, double cornerRadius)
    : QObject(&window), window_(window), compositing_(compositing), cornerRadius_(cornerRadius) {
    window.installEventFilter(this);
    connect(&compositing, &CompositingWatcher::activeChanged, this, [this] { apply(); });
    apply();
}

void PanelShape::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    apply();
}

bool PanelShape::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Resize) {
        apply();
    }
    return false;
}

void PanelShape::apply() {
    if (compositing_.active() || window_.size().isEmpty()) {
        window_.clearMask();
        return;
    }
    // The shape extension has no partial transparency to smooth edges with.
    window_.setMask(roundedRectRegion(window_.size(), cornerRadius_));
}

}  // namespace glintdeck
