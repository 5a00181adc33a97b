#include "shell/panel_shape.h"

#include <QBitmap>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "shell/compositing_watcher.h"

namespace glintdeck {

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
    // A one-bit mask: the shape extension has no partial transparency to smooth edges with.
    QBitmap mask(window_.size());
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::color1);
    painter.drawRoundedRect(QRectF(QPointF(0, 0), window_.size()), cornerRadius_, cornerRadius_);
    painter.end();
    window_.setMask(mask);
}

}  // namespace glintdeck
