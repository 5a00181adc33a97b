#include "settings_window/pane_widgets.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

namespace glintdeck {
namespace {

// Relative to the body size. Linux desktops' body text is already small, so the small styles
// shrink only a little, to stay readable.
double scale(TextStyle style) {
    switch (style) {
        case TextStyle::caption:
            return 0.88;
        case TextStyle::callout:
            return 0.95;
        case TextStyle::subheadline:
            return 0.92;
        case TextStyle::title:
            return 1.45;
        case TextStyle::body:
            break;
    }
    return 1;
}

}  // namespace

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void applyTextStyle(QWidget& widget, TextStyle style, bool bold) {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * scale(style));
    font.setBold(bold);
    widget.setFont(font);
}

void sharePalette(QWidget& dialog, const QWidget& parent) {
    QPalette palette = parent.palette();
    // Every role counts as set, or the inherited roles would fall back to the application's.
    palette.setResolveMask(~QPalette::ResolveMask(0));
    dialog.setPalette(palette);
}

QLabel* makeLabel(const QString& text, TextStyle style, bool secondary, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    applyTextStyle(*label, style);
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QGroupBox* makeSection(const QString& title, QWidget* parent) {
    return new QGroupBox(title, parent);
}

QFrame* makeDivider(bool vertical, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

}  // namespace glintdeck
