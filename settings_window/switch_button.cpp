#include "settings_window/switch_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace glintdeck {

SwitchButton::SwitchButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SwitchButton::sizeHint() const { return switchSize().toSize() + QSize(4, 4); }

void SwitchButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRectF frame(QPointF(0, 0), switchSize());
    frame.moveCenter(QRectF(rect()).center());
    paintSwitch(painter, frame, isChecked(), isEnabled(), palette());
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.setBrush(Qt::NoBrush);
        double radius = frame.height() / 2 + 1.5;
        painter.drawRoundedRect(frame.adjusted(-1.5, -1.5, 1.5, 1.5), radius, radius);
    }
}

QSizeF switchSize() { return {32, 18}; }

void paintSwitch(QPainter& painter, QRectF frame, bool on, bool enabled, const QPalette& palette,
                 bool onHighlight) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
    QPalette::ColorRole onRole = onHighlight ? QPalette::HighlightedText : QPalette::Highlight;
    QColor track = palette.color(group, on ? onRole : QPalette::Mid);
    if (!enabled) track.setAlphaF(track.alphaF() * 0.5f);
    double radius = frame.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    painter.drawRoundedRect(frame, radius, radius);

    double inset = 2;
    double knob = frame.height() - 2 * inset;
    double x = on ? frame.right() - inset - knob : frame.left() + inset;
    QColor knobColor(255, 255, 255, enabled ? 255 : 180);
    if (on && onHighlight) knobColor = palette.color(group, QPalette::Highlight);
    painter.setBrush(knobColor);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.drawEllipse(QRectF(x, frame.top() + inset, knob, knob));
    painter.restore();
}

}  // namespace glintdeck
