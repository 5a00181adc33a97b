#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>

class QPainter;

namespace glintdeck {

// Measures and draws one line of HUD text in one font. With monospaced digits every digit sits
// centred in a cell as wide as the font's widest digit, so "11%" and "88%" take the same width;
// Qt 6.4 cannot switch on a font's tabular figures, hence the cells.
class HudText final {
  public:
    HudText(const QFont& font, bool monospacedDigits);

    [[nodiscard]] double width(const QString& text) const;
    [[nodiscard]] double ascent() const { return metrics_.ascent(); }
    [[nodiscard]] double height() const { return metrics_.ascent() + metrics_.descent(); }
    [[nodiscard]] const QFont& font() const { return font_; }

    // Draws with the painter's pen; `topLeft` is the top of the line box.
    void draw(QPainter& painter, QPointF topLeft, const QString& text) const;

    // `text` shortened in the middle with an ellipsis until it fits `available`, keeping its
    // beginning and end; unchanged when it already fits.
    [[nodiscard]] QString elidedMiddle(const QString& text, double available) const;

  private:
    QFont font_;
    QFontMetricsF metrics_;
    double digitCell_ = 0;  // 0 when digits keep their own widths
};

}  // namespace glintdeck
