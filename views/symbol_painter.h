#pragma once

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <string_view>

#include "views/hud_style.h"

class QPainter;

namespace glintdeck {

// Draws the icon of a symbol name (symbols.h) at the size the views name in points of the system
// font: "the symbol in an 11-point font". Icon glyphs fill more of their em square than letters,
// so they are drawn larger to match the letters beside them. The icon font has one weight;
// semibold and heavier are drawn with an outline in the same colour. Nothing is drawn when the
// icon font or the name is missing.
[[nodiscard]] QSizeF symbolSize(double pointSize);
void drawSymbol(QPainter& painter, QRectF frame, std::string_view name, double pointSize,
                FontWeight weight, const QColor& color);

}  // namespace glintdeck
