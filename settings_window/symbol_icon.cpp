#include "settings_window/symbol_icon.h"

#include <QPainter>
#include <QPixmap>

#include "views/symbol_painter.h"
#include "views/symbols.h"

namespace glintdeck {
namespace {

// Drawn at twice the size, so rows stay crisp on high-density screens.
constexpr qreal kPixelRatio = 2;

QPixmap glyph(std::string_view name, const QColor& color, int side) {
    QPixmap pixmap(QSize(side, side) * kPixelRatio);
    pixmap.setDevicePixelRatio(kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // symbolSize() turns a point size into the glyph's side (rounded: measured on a large one).
    double pointSize = side * 100 / symbolSize(100).width();
    drawSymbol(painter, QRectF(0, 0, side, side), name, pointSize, FontWeight::regular, color);
    return pixmap;
}

}  // namespace

QIcon symbolIcon(std::string_view name, const QColor& color, const QColor& selectedColor) {
    if (!iconFontFamily() || symbolText(name).isEmpty()) return {};
    QIcon icon;
    for (int side : {16, 18}) {
        icon.addPixmap(glyph(name, color, side), QIcon::Normal);
        icon.addPixmap(glyph(name, selectedColor, side), QIcon::Selected);
    }
    return icon;
}

}  // namespace glintdeck
