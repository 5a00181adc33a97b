#pragma once

namespace glintdeck {

// The desktop's light or dark look; adaptive colours resolve against it when they are drawn.
enum class Appearance { dark, light };

// One colour in the sRGB space with an opacity, each component nominally 0...1. Values are
// kept as given; only CodableColor clamps.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    // The same colour with its opacity multiplied by factor ("white at 0.55" is white times 0.55).
    [[nodiscard]] Color multipliedOpacity(double factor) const;

    bool operator==(const Color&) const = default;
};

// A colour of the theme: either fixed, or adaptive with a dark and a light form chosen at paint
// time, so a change of the desktop's appearance needs no theme rebuild. A fixed colour holds the
// same form twice.
struct ThemeColor {
    Color dark;
    Color light;

    [[nodiscard]] static ThemeColor fixed(Color color) { return {color, color}; }
    [[nodiscard]] static ThemeColor adaptive(Color dark, Color light) { return {dark, light}; }

    [[nodiscard]] Color resolved(Appearance appearance) const {
        return appearance == Appearance::dark ? dark : light;
    }
    [[nodiscard]] bool isAdaptive() const { return dark != light; }
    [[nodiscard]] ThemeColor multipliedOpacity(double factor) const {
        return {dark.multipliedOpacity(factor), light.multipliedOpacity(factor)};
    }

    bool operator==(const ThemeColor&) const = default;
};

namespace colors {

inline constexpr Color white{1, 1, 1, 1};
inline constexpr Color black{0, 0, 0, 1};

// White on dark, black on light: the primary text of the standard themes.
[[nodiscard]] ThemeColor ink();

// The desktop has no named status colours, so these follow the familiar green, yellow and red
// of the usual interface guidelines, slightly brighter on dark backgrounds.
[[nodiscard]] ThemeColor systemGreen();
[[nodiscard]] ThemeColor systemYellow();
[[nodiscard]] ThemeColor systemRed();

}  // namespace colors

}  // namespace glintdeck
