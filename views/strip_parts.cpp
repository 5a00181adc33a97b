#include "views/strip_parts.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "views/symbol_painter.h"

namespace glintdeck {

DividerView::DividerView(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);  // presses go to the strip (dragging)
}

void DividerView::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void DividerView::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), color_); }

SymbolView::SymbolView(std::string symbol, double pointSize, QWidget* parent)
    : QWidget(parent), symbol_(std::move(symbol)), pointSize_(pointSize) {
    setFixedSize(sizeHint());
}

QSize SymbolView::sizeHint() const {
    QSizeF size = symbolSize(pointSize_);
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

void SymbolView::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void SymbolView::setSymbolVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    update();
}

void SymbolView::paintEvent(QPaintEvent*) {
    if (!visible_) return;
    QPainter painter(this);
    drawSymbol(painter, QRectF(rect()), symbol_, pointSize_, FontWeight::semibold, color_);
}

void SymbolView::mousePressEvent(QMouseEvent* event) {
    if (!onPress_ || event->button() != Qt::LeftButton) {
        event->ignore();  // an indicator is not a button: the press belongs to the strip
        return;
    }
    pressed_ = true;
    event->accept();
}

void SymbolView::mouseReleaseEvent(QMouseEvent* event) {
    bool pressed = std::exchange(pressed_, false);
    if (!onPress_) {
        event->ignore();
        return;
    }
    event->accept();
    if (pressed && event->button() == Qt::LeftButton && rect().contains(event->pos())) onPress_();
}

}  // namespace glintdeck
