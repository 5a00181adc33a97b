#include "settings/theme.h"

namespace glintdeck {
namespace {

// Reduce transparency raises every preset's background to this opacity.
constexpr double kReducedTransparencyOpacity = 0.98;

ThemeColor fixed(double red, double green, double blue, double opacity = 1) {
    return ThemeColor::fixed({red, green, blue, opacity});
}

// White on dark, black on light, at the given opacity.
ThemeColor inkAt(double opacity) { return colors::ink().multipliedOpacity(opacity); }

// Black on dark, white on light: the panel fill of the standard presets.
ThemeColor panelFill(double opacity) {
    return ThemeColor::adaptive(colors::black.multipliedOpacity(opacity),
                                colors::white.multipliedOpacity(opacity));
}

double backgroundOpacity(double presetOpacity, bool reduceTransparency) {
    return reduceTransparency ? kReducedTransparencyOpacity : presetOpacity;
}

Theme::Metrics metricsOf(double cornerRadius, double spacing) {
    return {.cornerRadius = cornerRadius, .tileSpacing = spacing, .horizontalPadding = spacing};
}

double spacingOf(ThemeDensity density) { return density == ThemeDensity::compact ? 10 : 14; }

}  // namespace

Theme::Fonts Theme::Fonts::forDensity(ThemeDensity density) {
    // Note the labels: 10 pt in the compact set, 9 pt in the comfortable one, not the reverse.
    if (density == ThemeDensity::compact) {
        return {.value = {11, FontWeight::semibold, true},
                .label = {10, FontWeight::medium, false},
                .detailTitle = {11, FontWeight::semibold, false},
                .detailValue = {11, FontWeight::regular, true}};
    }
    return {.value = {13, FontWeight::semibold, true},
            .label = {9, FontWeight::medium, false},
            .detailTitle = {12, FontWeight::semibold, false},
            .detailValue = {12, FontWeight::regular, true}};
}

Theme Theme::makeDefault(bool reduceTransparency) {
    return {.colors = {.background = panelFill(backgroundOpacity(0.82, reduceTransparency)),
                       .primaryText = colors::ink(),
                       .secondaryText = inkAt(0.55),
                       .divider = inkAt(0.12),
                       .calm = colors::systemGreen(),
                       .busy = colors::systemYellow(),
                       .hot = colors::systemRed(),
                       .graphPrimary = fixed(1, 0.35, 0.65),
                       .graphSecondary = fixed(0.35, 0.65, 1)},
            .metrics = metricsOf(12, 14),
            .fonts = Fonts::forDensity(ThemeDensity::comfortable),
            .statusStyle = StatusStyle::standard};
}

Theme Theme::makeMono(bool reduceTransparency) {
    return {.colors = {.background = panelFill(backgroundOpacity(0.85, reduceTransparency)),
                       .primaryText = colors::ink(),
                       .secondaryText = inkAt(0.5),
                       .divider = inkAt(0.1),
                       .calm = colors::ink(),
                       .busy = colors::ink(),
                       .hot = colors::ink(),
                       .graphPrimary = colors::ink(),
                       .graphSecondary = inkAt(0.55)},
            .metrics = metricsOf(8, 10),
            .fonts = Fonts::forDensity(ThemeDensity::compact),
            .statusStyle = StatusStyle::suppressed};
}

Theme Theme::makeVitals(bool reduceTransparency) {
    return {.colors = {.background = panelFill(backgroundOpacity(0.82, reduceTransparency)),
                       .primaryText = colors::ink(),
                       .secondaryText = inkAt(0.6),
                       .divider = inkAt(0.14),
                       .calm = fixed(0.3, 0.85, 0.45),
                       .busy = fixed(1, 0.78, 0.2),
                       .hot = fixed(1, 0.3, 0.3),
                       .graphPrimary = fixed(0.98, 0.4, 0.62),
                       .graphSecondary = fixed(0.3, 0.62, 0.98)},
            .metrics = metricsOf(12, 14),
            .fonts = Fonts::forDensity(ThemeDensity::comfortable),
            .statusStyle = StatusStyle::emphasized};
}

Theme Theme::makeNeon(bool reduceTransparency) {
    // Neon is its own dark look and ignores the desktop's appearance: every colour is fixed.
    return {.colors = {.background =
                           fixed(0.03, 0.03, 0.06, backgroundOpacity(0.9, reduceTransparency)),
                       .primaryText = fixed(0.85, 1, 0.95),
                       .secondaryText = fixed(0.55, 0.75, 0.85),
                       .divider = fixed(0, 1, 0.85, 0.18),
                       .calm = fixed(0.2, 1, 0.8),
                       .busy = fixed(1, 0.85, 0.2),
                       .hot = fixed(1, 0.25, 0.55),
                       .graphPrimary = fixed(0.2, 1, 0.8),
                       .graphSecondary = fixed(0.65, 0.45, 1)},
            .metrics = metricsOf(12, 14),
            .fonts = Fonts::forDensity(ThemeDensity::comfortable),
            .statusStyle = StatusStyle::standard};
}

Theme Theme::makeCustom(const ThemeData& data, bool reduceTransparency) {
    // A custom opacity above the reduced-transparency floor is kept: the user asked for a more
    // opaque panel than the floor already.
    double opacity = data.opacity;
    if (reduceTransparency && opacity <= kReducedTransparencyOpacity) {
        opacity = kReducedTransparencyOpacity;
    }
    ThemeColor accent = ThemeColor::fixed(data.accent.color());
    return {.colors = {.background =
                           ThemeColor::fixed(data.background.color().multipliedOpacity(opacity)),
                       .primaryText = accent,
                       .secondaryText = accent.multipliedOpacity(0.6),
                       .divider = accent.multipliedOpacity(0.14),
                       .calm = colors::systemGreen(),
                       .busy = colors::systemYellow(),
                       .hot = colors::systemRed(),
                       .graphPrimary = accent,
                       .graphSecondary = accent.multipliedOpacity(0.5)},
            .metrics = metricsOf(data.cornerRadius, spacingOf(data.density)),
            .fonts = Fonts::forDensity(data.density),
            .statusStyle = StatusStyle::standard};
}

Theme Theme::compacted() const {
    Theme theme = *this;
    theme.fonts = Fonts::forDensity(ThemeDensity::compact);
    theme.metrics = metricsOf(metrics.cornerRadius, spacingOf(ThemeDensity::compact));
    return theme;
}

Theme Theme::make(ThemePreset preset, const std::optional<ThemeData>& customData,
                  bool reduceTransparency) {
    switch (preset) {
        case ThemePreset::defaultPreset:
            return makeDefault(reduceTransparency);
        case ThemePreset::mono:
            return makeMono(reduceTransparency);
        case ThemePreset::vitals:
            return makeVitals(reduceTransparency);
        case ThemePreset::neon:
            return makeNeon(reduceTransparency);
        case ThemePreset::custom:
            return makeCustom(customData.value_or(ThemeData::initial()), reduceTransparency);
    }
    return makeDefault(reduceTransparency);
}

}  // namespace glintdeck
