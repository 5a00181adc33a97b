#include "settings_window/color_button.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "settings_window/pane_widgets.h"

namespace glintdeck {

ColorButton::ColorButton(const QString& dialogTitle, QWidget* parent)
    : QPushButton(parent), dialogTitle_(dialogTitle) {
    setFixedSize(44, 24);
    setAccessibleName(dialogTitle);
    connect(this, &QPushButton::clicked, this, &ColorButton::openDialog);
}

void ColorButton::setColor(const QColor& color) {
    color_ = color;
    update();
}

QColorDialog* ColorButton::dialog() const {
    // A closed dialog lingers until its deferred deletion.
    for (QColorDialog* open : findChildren<QColorDialog*>()) {
        if (open->isVisible()) return open;
    }
    return nullptr;
}

void ColorButton::openDialog() {
    if (QColorDialog* open = dialog()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* picker = new QColorDialog(color_, this);
    picker->setWindowTitle(dialogTitle_);
    picker->setOption(QColorDialog::ShowAlphaChannel, false);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    sharePalette(*picker, *this);
    connect(picker, &QColorDialog::colorSelected, this, [this](const QColor& picked) {
        setColor(picked);
        Q_EMIT colorPicked(picked);
    });
    picker->open();
}

void ColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRectF swatch = QRectF(rect()).adjusted(6, 5, -6, -5);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(color_);
    painter.drawRoundedRect(swatch, 3, 3);
}

}  // namespace glintdeck
