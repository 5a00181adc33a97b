#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace glintdeck {

// The outline of the HUD's cards and strip: a rectangle with continuous corners, where the
// curve eases out of the straight edge instead of meeting it as a circular arc. A radius too
// large for the rectangle falls back to circular ends (a pill). The shell uses the same path
// for the window's shape mask, so mask and painting agree.
[[nodiscard]] QPainterPath continuousRoundedRect(QRectF rect, double radius);

// Fills the outline and clips the painter to it, so later drawing stays inside the corners.
void paintPanelBackground(QPainter& painter, QRectF rect, double radius, const QColor& fill);

}  // namespace glintdeck
