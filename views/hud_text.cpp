#include "views/hud_text.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace glintdeck {
namespace {

// Enough for every unit and label of the strip and a detail card; process names, which change,
// would otherwise make the memory grow without end.
constexpr qsizetype kRememberedWidths = 128;

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Calls run(start, length, isDigitRun) for each maximal run of digits or non-digits.
template <typename Run>
void forEachRun(const QString& text, Run run) {
    qsizetype start = 0;
    while (start < text.size()) {
        bool digits = isDigit(text[start]);
        qsizetype end = start + 1;
        while (end < text.size() && isDigit(text[end]) == digits) ++end;
        run(start, end - start, digits);
        start = end;
    }
}

}  // namespace

HudText::HudText(const QFont& font, bool monospacedDigits) : font_(font), metrics_(font) {
    if (!monospacedDigits) return;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        double advance = metrics_.horizontalAdvance(QChar(digit));
        digitAdvances_[digit - u'0'] = advance;
        digitCell_ = std::max(digitCell_, advance);
    }
}

double HudText::measured(const QString& text) const {
    if (auto found = widths_.constFind(text); found != widths_.constEnd()) return *found;
    if (widths_.size() >= kRememberedWidths) widths_.clear();
    double width = metrics_.horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
}

double HudText::width(const QString& text) const {
    if (digitCell_ <= 0) return measured(text);
    double total = 0;
    forEachRun(text, [&](qsizetype start, qsizetype length, bool digits) {
        total +=
            digits ? digitCell_ * static_cast<double>(length) : measured(text.mid(start, length));
    });
    return total;
}

const HudText::Shaped& HudText::shaped(const QString& text) const {
    if (auto found = shaped_.constFind(text); found != shaped_.constEnd()) return *found;
    if (shaped_.size() >= kRememberedWidths) shaped_.clear();
    QTextLayout layout(text, font_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return *shaped_.insert(text, {layout.glyphRuns(), line.isValid() ? line.ascent() : 0});
}

void HudText::drawShaped(QPainter& painter, QPointF baseline, const QString& text) const {
    const Shaped& shape = shaped(text);
    for (const QGlyphRun& run : shape.glyphs) {
        painter.drawGlyphRun(baseline - QPointF(0, shape.ascent), run);
    }
}

void HudText::draw(QPainter& painter, QPointF topLeft, const QString& text) const {
    QPointF baseline(topLeft.x(), topLeft.y() + metrics_.ascent());
    if (digitCell_ <= 0) {
        drawShaped(painter, baseline, text);
        return;
    }
    double x = baseline.x();
    forEachRun(text, [&](qsizetype start, qsizetype length, bool digits) {
        if (!digits) {
            QString run = text.mid(start, length);
            drawShaped(painter, QPointF(x, baseline.y()), run);
            x += measured(run);
            return;
        }
        for (qsizetype i = start; i < start + length; ++i) {
            double advance = digitAdvances_[text[i].unicode() - u'0'];
            drawShaped(painter, QPointF(x + (digitCell_ - advance) / 2, baseline.y()),
                       QString(text[i]));
            x += digitCell_;
        }
    });
}

QString HudText::elidedMiddle(const QString& text, double available) const {
    if (width(text) <= available) return text;
    // Qt's eliding measures proportional digits; narrow the target until the cells fit too.
    QString elided;
    for (double target = available; target > 0; target -= 1) {
        elided = metrics_.elidedText(text, Qt::ElideMiddle, target);
        if (width(elided) <= available) return elided;
    }
    return elided;
}

}  // namespace glintdeck
