#pragma once

// Temporary: the shapes of the settings layer's theme, until that layer lands on this branch.
// Only hud_style.h includes this file; delete it when settings/theme.h arrives.

namespace glintdeck {

enum class Appearance { dark, light };

struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;
    [[nodiscard]] Color multipliedOpacity(double factor) const {
        return {red, green, blue, opacity * factor};
    }
    bool operator==(const Color&) const = default;
};

struct ThemeColor {
    Color dark;
    Color light;
    [[nodiscard]] static ThemeColor fixed(Color color) { return {color, color}; }
    [[nodiscard]] static ThemeColor adaptive(Color dark, Color light) { return {dark, light}; }
    [[nodiscard]] Color resolved(Appearance appearance) const {
        return appearance == Appearance::dark ? dark : light;
    }
    bool operator==(const ThemeColor&) const = default;
};

enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

struct FontDescription {
    double size = 13;
    FontWeight weight = FontWeight::regular;
    bool monospacedDigits = false;
    bool operator==(const FontDescription&) const = default;
};

struct Theme {
    struct Colors {
        ThemeColor background, primaryText, secondaryText, divider, calm, busy, hot, graphPrimary,
            graphSecondary;
        bool operator==(const Colors&) const = default;
    };
    struct Metrics {
        double cornerRadius = 12;
        double tileSpacing = 14;
        double horizontalPadding = 14;
        bool operator==(const Metrics&) const = default;
    };
    struct Fonts {
        FontDescription value{13, FontWeight::semibold, true};
        FontDescription label{9, FontWeight::medium, false};
        FontDescription detailTitle{12, FontWeight::semibold, false};
        FontDescription detailValue{12, FontWeight::regular, true};
        bool operator==(const Fonts&) const = default;
    };
    enum class StatusStyle { standard, suppressed, emphasized };

    Colors colors{
        .background = {{0, 0, 0, 0.82}, {1, 1, 1, 0.82}},
        .primaryText = {{1, 1, 1, 1}, {0, 0, 0, 1}},
        .secondaryText = {{1, 1, 1, 0.55}, {0, 0, 0, 0.55}},
        .divider = {{1, 1, 1, 0.12}, {0, 0, 0, 0.12}},
        .calm = ThemeColor::fixed({0.2, 0.8, 0.35, 1}),
        .busy = ThemeColor::fixed({1, 0.8, 0, 1}),
        .hot = ThemeColor::fixed({1, 0.25, 0.2, 1}),
        .graphPrimary = ThemeColor::fixed({1, 0.35, 0.65, 1}),
        .graphSecondary = ThemeColor::fixed({0.35, 0.65, 1, 1}),
    };
    Metrics metrics;
    Fonts fonts;
    StatusStyle statusStyle = StatusStyle::standard;
    bool operator==(const Theme&) const = default;
};

}  // namespace glintdeck
