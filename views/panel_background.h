#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <optional>

class QPainter;
class QWidget;

namespace glintdeck {

// The outline of the HUD's cards and strip: a rectangle with continuous corners, where the
// curve eases out of the straight edge instead of meeting it as a circular arc. A radius too
// large for the rectangle falls back to circular ends (a pill). The shell uses the same path
// for the window's shape mask, so mask and painting agree.
[[nodiscard]] QPainterPath continuousRoundedRect(QRectF rect, double radius);

// Fills the outline and clips the painter to it, so later drawing stays inside the corners.
// A masked panel (no compositing manager: the window is cut to the outline by a shape mask)
// gets its whole rectangle filled instead. The mask does the rounding there, and the
// antialiased edge of a filled outline would show as a dark fringe: without a compositor the
// partly covered pixels are shown without their alpha, that is darkened.
void paintPanelBackground(QPainter& painter, QRectF rect, double radius, const QColor& fill,
                          bool masked);

// A part lying wholly on the plain inside of a panel can paint the panel's fill under itself;
// Qt then repaints no widget behind it when the part alone changes, which with a translucent
// window would mean the panel's whole outline again. setPanelFill marks `widget` opaque while
// `fill` is set (keeping the colour in `stored`) and repaints it on a change; paintPanelFill
// is the first thing such a widget paints.
void setPanelFill(QWidget& widget, std::optional<QColor>& stored, std::optional<QColor> fill);
void paintPanelFill(QPainter& painter, QRect rect, const std::optional<QColor>& fill);

}  // namespace glintdeck
