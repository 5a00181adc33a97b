#include "views/hud_style.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>

namespace glintdeck {

QColor toQColor(Color color) {
    auto unit = [](double component) {
        return std::isfinite(component) ? std::clamp(component, 0.0, 1.0) : 0.0;
    };
    return QColor::fromRgbF(
        static_cast<float>(unit(color.red)), static_cast<float>(unit(color.green)),
        static_cast<float>(unit(color.blue)), static_cast<float>(unit(color.opacity)));
}

QColor HudStyle::color(const ThemeColor& color) const {
    return toQColor(color.resolved(appearance));
}

QColor HudStyle::background() const {
    QColor fill = color(theme.colors.background);
    if (opaqueBackground) fill.setAlphaF(1.0f);
    return fill;
}

QColor HudStyle::tint(Tint tint) const {
    const Theme::Colors& colors = theme.colors;
    switch (tint) {
        case Tint::calm:
            return color(colors.calm);
        case Tint::busy:
            return color(colors.busy);
        case Tint::hot:
            return color(colors.hot);
        case Tint::primaryText:
            break;
    }
    return color(colors.primaryText);
}

QFont::Weight toQtWeight(FontWeight weight) {
    switch (weight) {
        case FontWeight::regular:
            return QFont::Normal;
        case FontWeight::medium:
            return QFont::Medium;
        case FontWeight::semibold:
            return QFont::DemiBold;
        case FontWeight::heavy:
            return QFont::ExtraBold;
    }
    return QFont::Normal;
}

FontWeight bandWeight(Band band) {
    switch (band) {
        case Band::busy:
            return FontWeight::semibold;
        case Band::hot:
            return FontWeight::heavy;
        case Band::calm:
            break;
    }
    return FontWeight::regular;
}

QFont hudFont(const FontDescription& description, FontWeight weight) {
    QFont font = QGuiApplication::font();
    // Theme sizes are points of a 1x screen, which are Qt's logical pixels; a point size would
    // grow with the desktop's DPI setting a second time.
    int pixels = std::isfinite(description.size)
                     ? std::max(1, static_cast<int>(std::lround(description.size)))
                     : 13;
    font.setPixelSize(pixels);
    // Fontconfig picks the nearest weight the family has, and synthesises bold only when it
    // has nothing heavier, so fonts without semibold or heavy still draw.
    font.setWeight(toQtWeight(weight));
    font.setKerning(true);
    return font;
}

QFont hudFont(const FontDescription& description) {
    return hudFont(description, description.weight);
}

}  // namespace glintdeck
