#include "views/symbol_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "views/symbols.h"

namespace glintdeck {
namespace {

// A Material glyph fills about 5/6 of its em square; a symbol of the system font is about as
// tall as the font's capitals plus a little.
constexpr double kScale = 1.3;

QFont iconFont(double pointSize) {
    QFont font(iconFontFamily().value_or(QString()));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * kScale))));
    font.setStyleStrategy(QFont::NoFontMerging);  // never a fallback letter for a missing glyph
    return font;
}

double outlineWidth(FontWeight weight) {
    if (weight >= FontWeight::heavy) return 0.8;
    if (weight >= FontWeight::semibold) return 0.4;
    return 0;
}

}  // namespace

QSizeF symbolSize(double pointSize) {
    const double side = std::round(pointSize * kScale);
    return {side, side};
}

void drawSymbol(QPainter& painter, QRectF frame, std::string_view name, double pointSize,
                FontWeight weight, const QColor& color) {
    if (!iconFontFamily()) return;
    QString glyph = symbolText(name);
    if (glyph.isEmpty()) return;
    QFont font = iconFont(pointSize);
    QRectF box = QFontMetricsF(font).tightBoundingRect(glyph);
    QPointF origin(frame.center().x() - box.center().x(), frame.center().y() - box.center().y());
    QPainterPath path;
    path.addText(origin, font, glyph);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(path, color);
    if (double width = outlineWidth(weight); width > 0) {
        painter.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter.restore();
}

}  // namespace glintdeck
