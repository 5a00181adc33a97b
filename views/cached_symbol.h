#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <optional>
#include <string>
#include <string_view>

#include "settings/theme.h"

class QPainter;

namespace glintdeck {

// One symbol (symbol_painter.h) drawn through an image of it: filling and stroking the icon
// glyph's outline is the costly part of painting a tile, and a tile's icon changes only with its
// band. The image is drawn again only when the name, size, weight, colour, device pixel ratio or
// the frame's size or place within a pixel changes, so it lands on the same pixels as drawing
// the symbol directly.
class CachedSymbol final {
  public:
    void draw(QPainter& painter, QRectF frame, std::string_view name, double pointSize,
              FontWeight weight, const QColor& color);

  private:
    struct Key {
        std::string name;
        double pointSize = 0;
        FontWeight weight = FontWeight::regular;
        QColor color;
        double devicePixelRatio = 1;
        QPointF offset;  // the frame's top left within its pixel
        QSizeF size;
        bool operator==(const Key&) const = default;
    };

    std::optional<Key> key_;
    QImage image_;
};

}  // namespace glintdeck
