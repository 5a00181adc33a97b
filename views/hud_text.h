#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <array>

class QPainter;

namespace glintdeck {

// Measures and draws one line of HUD text in one font. With monospaced digits every digit sits
// centred in a cell as wide as the font's widest digit, so "11%" and "88%" take the same width;
// Qt 6.4 cannot switch on a font's tabular figures, hence the cells.
//
// Shaping a text to measure it is the costly part of a HUD refresh, and the same few texts
// (units, widest forms, labels) are measured again and again, so widths are remembered: with
// digit cells only the runs between digits, which hardly vary. The memory is this object's
// own, dies with it (views keep one per font until their style changes) and is bounded. Drawing
// keeps the shaped glyphs of those runs (and of each digit) the same way.
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
    // A text shaped once: its glyphs placed from the top left of its line, whose baseline
    // lies `ascent` below (fallback fonts can make that more than the font's own ascent).
    struct Shaped {
        QList<QGlyphRun> glyphs;
        double ascent = 0;
    };

    [[nodiscard]] double measured(const QString& text) const;
    [[nodiscard]] const Shaped& shaped(const QString& text) const;
    void drawShaped(QPainter& painter, QPointF baseline, const QString& text) const;

    QFont font_;
    QFontMetricsF metrics_;
    double digitCell_ = 0;  // 0 when digits keep their own widths
    std::array<double, 10> digitAdvances_{};
    mutable QHash<QString, double> widths_;
    mutable QHash<QString, Shaped> shaped_;
};

}  // namespace glintdeck
