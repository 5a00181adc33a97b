#include "views/cached_symbol.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "views/symbol_painter.h"

namespace glintdeck {
namespace {

// Room around the frame for the outline that heavy weights stroke beyond the glyph's edge.
constexpr double kMargin = 2;

}  // namespace

void CachedSymbol::draw(QPainter& painter, QRectF frame, std::string_view name, double pointSize,
                        FontWeight weight, const QColor& color) {
    const QPointF pixel(std::floor(frame.x()), std::floor(frame.y()));
    Key key{.name = std::string(name),
            .pointSize = pointSize,
            .weight = weight,
            .color = color,
            .devicePixelRatio = painter.device()->devicePixelRatioF(),
            .offset = frame.topLeft() - pixel,
            .size = frame.size()};
    if (key != key_) {
        const double side = 2 * kMargin;
        const QSizeF logical(std::ceil(key.offset.x() + frame.width() + side),
                             std::ceil(key.offset.y() + frame.height() + side));
        image_ =
            QImage((logical * key.devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(key.devicePixelRatio);
        image_.fill(Qt::transparent);
        QPainter imagePainter(&image_);
        drawSymbol(imagePainter, QRectF(key.offset + QPointF(kMargin, kMargin), frame.size()), name,
                   pointSize, weight, color);
        key_ = std::move(key);
    }
    painter.drawImage(pixel - QPointF(kMargin, kMargin), image_);
}

}  // namespace glintdeck
