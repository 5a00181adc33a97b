#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/color.h"

namespace glintdeck {

// The theme the user picks. Raw values are the stored form; declaration order is the order of
// the preset picker. `default` is a C++ keyword, hence `defaultPreset` (raw "default").
enum class ThemePreset { defaultPreset, mono, vitals, neon, custom };

[[nodiscard]] std::string_view rawValue(ThemePreset preset);
[[nodiscard]] std::optional<ThemePreset> themePresetFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const ThemePreset> allThemePresets();
[[nodiscard]] std::string_view title(ThemePreset preset);  // "Default", "Mono", ...

// Spacing and font sizes of a custom theme.
enum class ThemeDensity { compact, comfortable };

[[nodiscard]] std::string_view rawValue(ThemeDensity density);
[[nodiscard]] std::optional<ThemeDensity> themeDensityFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const ThemeDensity> allThemeDensities();
[[nodiscard]] std::string_view title(ThemeDensity density);  // "Compact", "Comfortable"

// A colour as the custom theme stores it: sRGB components and opacity.
struct CodableColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    // From a picked colour: each component clamped to 0...1 (a NaN component becomes 0, so a
    // stored theme never carries a value JSON cannot write). An adaptive colour is taken in the
    // given appearance.
    [[nodiscard]] static CodableColor from(Color color);
    [[nodiscard]] static CodableColor from(const ThemeColor& color, Appearance appearance);

    // The colour with the components exactly as stored.
    [[nodiscard]] Color color() const { return {red, green, blue, opacity}; }

    bool operator==(const CodableColor&) const = default;
};

// The user's custom theme, the value stored as JSON under "customTheme".
struct ThemeData {
    CodableColor accent;
    CodableColor background;
    double opacity = 0;       // of the panel background, 0...1
    double cornerRadius = 0;  // points
    ThemeDensity density = ThemeDensity::comfortable;

    // What a custom theme starts from: white on black, opacity 0.82, radius 12, comfortable.
    [[nodiscard]] static ThemeData initial();

    bool operator==(const ThemeData&) const = default;
};

// One JSON object with the keys "accent", "background" (objects of "red", "green", "blue",
// "opacity"), "opacity", "cornerRadius" (numbers) and "density" ("compact" or "comfortable").
[[nodiscard]] std::string encodeThemeData(const ThemeData& data);

// The inverse of encodeThemeData, key order free and extra keys ignored. Nothing when the text is
// not JSON, or when any key is missing, holds the wrong type or names an unknown density.
[[nodiscard]] std::optional<ThemeData> decodeThemeData(std::string_view json);

}  // namespace glintdeck

template <>
struct std::hash<glintdeck::CodableColor> {
    size_t operator()(const glintdeck::CodableColor& color) const noexcept;
};
