#pragma once

#include <QColor>
#include <QFont>

#include "presentation/stat_descriptor.h"
#include "settings/theme.h"

namespace glintdeck {

// What every HUD view paints with: the theme, the desktop appearance its adaptive colours resolve
// against, and whether the panel can be translucent. Views are handed this value; none of them
// reads settings or the desktop on its own.
struct HudStyle {
    Theme theme = Theme::makeDefault(false);
    Appearance appearance = Appearance::dark;
    // Without a compositing manager X ignores alpha, so backgrounds are painted at full opacity
    // (the shell gives the window a shape mask for the rounded corners).
    bool opaqueBackground = false;

    bool operator==(const HudStyle&) const = default;

    [[nodiscard]] QColor color(const ThemeColor& color) const;
    // The panel fill, opaque when translucency is impossible.
    [[nodiscard]] QColor background() const;
    // The icon colour a descriptor's tint names.
    [[nodiscard]] QColor tint(Tint tint) const;
};

[[nodiscard]] QColor toQColor(Color color);

// The font a theme describes: the application's font family at `size` logical pixels (the
// theme's points), with the nearest weight the family offers.
[[nodiscard]] QFont hudFont(const FontDescription& description);
[[nodiscard]] QFont hudFont(const FontDescription& description, FontWeight weight);

// Load bands pick the weight of a tile's icon and texts: calm regular, busy semibold, hot heavy.
[[nodiscard]] FontWeight bandWeight(Band band);

[[nodiscard]] QFont::Weight toQtWeight(FontWeight weight);

}  // namespace glintdeck
