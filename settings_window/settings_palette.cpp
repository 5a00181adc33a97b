#include "settings_window/settings_palette.h"

#include <QApplication>
#include <QStyle>

namespace glintdeck {
namespace {

Appearance appearanceOf(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? Appearance::dark
                                                              : Appearance::light;
}

QPalette darkPalette(const QPalette& application) {
    QPalette palette;
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor dimText(0x80, 0x80, 0x80);
    palette.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2f));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x23, 0x23, 0x25));
    palette.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2c));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3d));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4d));
    palette.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x43));
    palette.setColor(QPalette::Mid, QColor(0x5a, 0x5a, 0x5e));
    palette.setColor(QPalette::Dark, QColor(0x1c, 0x1c, 0x1e));
    palette.setColor(QPalette::Shadow, QColor(0x0a, 0x0a, 0x0a));
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3d));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0xe8, 0xe8, 0xe8, 0x8c));
    palette.setColor(QPalette::Link, QColor(0x6c, 0xb0, 0xff));
    QColor highlight = application.color(QPalette::Highlight);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dimText);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x54));
    return palette;
}

}  // namespace

QPalette settingsPalette(Appearance appearance, const QPalette& application) {
    if (appearanceOf(application) == appearance) return application;
    if (appearance == Appearance::dark) return darkPalette(application);
    QPalette light = QApplication::style()->standardPalette();
    // Some styles' standard palette is itself dark; Qt's own is light.
    return appearanceOf(light) == Appearance::light ? light : QPalette(Qt::white);
}

}  // namespace glintdeck
