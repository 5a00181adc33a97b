#include "views/first_run_hint_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "views/hud_text.h"
#include "views/panel_background.h"

namespace glintdeck {
namespace {

constexpr double kPadding = 14;
constexpr double kLineSpacing = 8;
constexpr double kItemSpacing = 6;
constexpr double kMinimumWidth = 220;
constexpr double kCapPaddingX = 6;
constexpr double kCapPaddingY = 2;
constexpr double kCapRadius = 5;
constexpr double kCapFillOpacity = 0.12;

struct Fonts {
    HudText title;
    HudText value;
    HudText label;
};

Fonts fontsOf(const Theme& theme) {
    const Theme::Fonts& fonts = theme.fonts;
    return {HudText(hudFont(fonts.detailTitle), fonts.detailTitle.monospacedDigits),
            HudText(hudFont(fonts.detailValue), fonts.detailValue.monospacedDigits),
            HudText(hudFont(fonts.label), fonts.label.monospacedDigits)};
}

QString str(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

FirstRunHintView::FirstRunHintView(QString hotKey, QWidget* parent)
    : QWidget(parent), hotKey_(std::move(hotKey)) {}

void FirstRunHintView::setStyle(const HudStyle& style) {
    if (style == style_) return;
    style_ = style;
    updateGeometry();
    update();
}

void FirstRunHintView::setInstruction(QString instruction) {
    instruction_ = std::move(instruction);
    updateGeometry();
    update();
}

QString FirstRunHintView::greeting() const {
    return str(instruction_.isEmpty() ? kGreeting : kStepLeft);
}

FirstRunHintView::Layout FirstRunHintView::layout() const {
    Fonts fonts = fontsOf(style_.theme);
    Layout layout;
    double y = kPadding;
    layout.greeting = QRectF(kPadding, y, fonts.title.width(greeting()), fonts.title.height());
    y = layout.greeting.bottom() + kLineSpacing;

    if (!instruction_.isEmpty()) {
        layout.instruction =
            QRectF(kPadding, y, fonts.title.width(instruction_), fonts.title.height());
        y = layout.instruction.bottom() + kLineSpacing;
    } else {
        y = keyRow(layout, y);
    }

    layout.footnote = QRectF(kPadding, y, fonts.label.width(str(kFootnote)), fonts.label.height());
    y = layout.footnote.bottom() + kPadding;

    double content = std::max({layout.greeting.right(), layout.afterKey.right(),
                               layout.instruction.right(), layout.footnote.right()}) +
                     kPadding;
    layout.size = QSizeF(std::max(kMinimumWidth, std::ceil(content)), y);
    return layout;
}

double FirstRunHintView::keyRow(Layout& layout, double y) const {
    Fonts fonts = fontsOf(style_.theme);
    // The key row: items centred vertically on the tallest of them.
    QSizeF cap(fonts.value.width(hotKey_) + 2 * kCapPaddingX,
               fonts.value.height() + 2 * kCapPaddingY);
    double rowHeight = std::max(cap.height(), fonts.title.height());
    auto centred = [&](double x, double width, double height) {
        return QRectF(x, y + (rowHeight - height) / 2, width, height);
    };
    layout.press = centred(kPadding, fonts.title.width(str(kPress)), fonts.title.height());
    layout.keyCap = centred(layout.press.right() + kItemSpacing, cap.width(), cap.height());
    layout.afterKey = centred(layout.keyCap.right() + kItemSpacing,
                              fonts.title.width(str(kAfterKey)), fonts.title.height());
    return y + rowHeight + kLineSpacing;
}

QSize FirstRunHintView::sizeHint() const {
    QSizeF size = layout().size;
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

void FirstRunHintView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Theme& theme = style_.theme;
    paintPanelBackground(painter, QRectF(rect()), theme.metrics.cornerRadius, style_.background(),
                         style_.opaqueBackground);
    Fonts fonts = fontsOf(theme);
    Layout layout = this->layout();
    QColor primary = style_.color(theme.colors.primaryText);
    QColor secondary = style_.color(theme.colors.secondaryText);

    painter.setPen(primary);
    fonts.title.draw(painter, layout.greeting.topLeft(), greeting());
    painter.setPen(secondary);
    fonts.label.draw(painter, layout.footnote.topLeft(), str(kFootnote));
    if (!instruction_.isEmpty()) {
        fonts.title.draw(painter, layout.instruction.topLeft(), instruction_);
        return;
    }
    fonts.title.draw(painter, layout.press.topLeft(), str(kPress));

    QColor capFill = primary;
    capFill.setAlphaF(capFill.alphaF() * static_cast<float>(kCapFillOpacity));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(continuousRoundedRect(layout.keyCap, kCapRadius), capFill);
    painter.setPen(primary);
    fonts.value.draw(painter, layout.keyCap.topLeft() + QPointF(kCapPaddingX, kCapPaddingY),
                     hotKey_);

    painter.setPen(secondary);
    fonts.title.draw(painter, layout.afterKey.topLeft(), str(kAfterKey));
}

}  // namespace glintdeck
