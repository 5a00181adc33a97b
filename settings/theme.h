#pragma once

#include <optional>

#include "settings/color.h"
#include "settings/theme_data.h"

namespace glintdeck {

// The stroke weights the views draw with, lightest first. Desktop fonts often lack some; the views
// fall back to the nearest weight the font has.
enum class FontWeight { regular, medium, semibold, heavy };

// A font as the theme describes it: the system font at a size and weight, optionally with digits
// of equal width so that changing numbers do not jiggle.
struct FontDescription {
    double size = 13;  // points
    FontWeight weight = FontWeight::regular;
    bool monospacedDigits = false;

    bool operator==(const FontDescription&) const = default;
};

// Everything the HUD draws with: colours, layout metrics, fonts and how load bands tint tiles.
// Themes are immutable values built from a preset (and, for custom, the stored ThemeData) and
// the reduce-transparency flag; the background opacity is the only value that flag changes.
struct Theme {
    struct Colors {
        ThemeColor background;  // the panel fill
        ThemeColor primaryText;
        ThemeColor secondaryText;
        ThemeColor divider;
        ThemeColor calm;  // load-band colours
        ThemeColor busy;
        ThemeColor hot;
        ThemeColor graphPrimary;    // upper graph series
        ThemeColor graphSecondary;  // lower graph series
        bool operator==(const Colors&) const = default;
    };

    struct Metrics {
        double cornerRadius = 12;       // panel corners, points
        double tileSpacing = 14;        // gap between tiles
        double horizontalPadding = 14;  // inset of the strip's content left and right
        bool operator==(const Metrics&) const = default;
    };

    struct Fonts {
        FontDescription value;  // a tile's main value
        FontDescription label;  // small captions
        FontDescription detailTitle;
        FontDescription detailValue;
        bool operator==(const Fonts&) const = default;

        [[nodiscard]] static Fonts forDensity(ThemeDensity density);
    };

    // Tiles take their band colour under standard and emphasized, the primary text colour under
    // suppressed.
    enum class StatusStyle { standard, suppressed, emphasized };

    Colors colors;
    Metrics metrics;
    Fonts fonts;
    StatusStyle statusStyle = StatusStyle::standard;

    bool operator==(const Theme&) const = default;

    // One builder per preset.
    [[nodiscard]] static Theme makeDefault(bool reduceTransparency);
    [[nodiscard]] static Theme makeMono(bool reduceTransparency);
    [[nodiscard]] static Theme makeVitals(bool reduceTransparency);
    [[nodiscard]] static Theme makeNeon(bool reduceTransparency);
    [[nodiscard]] static Theme makeCustom(const ThemeData& data, bool reduceTransparency);

    // The same theme at the compact density (its fonts and spacing), colours and corners kept:
    // for a strip too wide for its screen.
    [[nodiscard]] Theme compacted() const;

    // The theme of a preset; custom uses customData, or ThemeData::initial() when there is none.
    [[nodiscard]] static Theme make(ThemePreset preset, const std::optional<ThemeData>& customData,
                                    bool reduceTransparency);
};

}  // namespace glintdeck
