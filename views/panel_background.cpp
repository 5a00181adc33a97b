#include "views/panel_background.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace glintdeck {
namespace {

// A continuous corner spans 1.5 × radius of each edge; its control points sit 0.281 × radius
// from the corner, which puts the curve's midpoint where a circular arc of the radius would be.
constexpr double kExtent = 1.5;
constexpr double kControl = 0.281;

}  // namespace

QPainterPath continuousRoundedRect(QRectF rect, double radius) {
    QPainterPath path;
    double half = std::min(rect.width(), rect.height()) / 2;
    if (!(radius > 0) || half <= 0) {
        path.addRect(rect);
        return path;
    }
    if (radius * kExtent > half) {
        double circular = std::min(radius, half);
        path.addRoundedRect(rect, circular, circular);
        return path;
    }
    double e = radius * kExtent;
    double c = radius * kControl;
    double l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    path.moveTo(l + e, t);
    path.lineTo(r - e, t);
    path.cubicTo(r - c, t, r, t + c, r, t + e);
    path.lineTo(r, b - e);
    path.cubicTo(r, b - c, r - c, b, r - e, b);
    path.lineTo(l + e, b);
    path.cubicTo(l + c, b, l, b - c, l, b - e);
    path.lineTo(l, t + e);
    path.cubicTo(l, t + c, l + c, t, l + e, t);
    path.closeSubpath();
    return path;
}

void paintPanelBackground(QPainter& painter, QRectF rect, double radius, const QColor& fill,
                          bool masked) {
    QPainterPath outline = continuousRoundedRect(rect, radius);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (masked) {
        painter.fillRect(rect, fill);
    } else {
        painter.fillPath(outline, fill);
    }
    painter.setClipPath(outline);
}

void setPanelFill(QWidget& widget, std::optional<QColor>& stored, std::optional<QColor> fill) {
    if (fill == stored) return;
    stored = fill;
    widget.setAttribute(Qt::WA_OpaquePaintEvent, fill.has_value());
    widget.update();
}

void paintPanelFill(QPainter& painter, QRect rect, const std::optional<QColor>& fill) {
    if (!fill) return;
    // Replacing, not blending: the pixels are the panel's, exactly as its own fill leaves them.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, *fill);
    painter.restore();
}

}  // namespace glintdeck
