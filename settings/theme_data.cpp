#include "settings/theme_data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>

namespace glintdeck {
namespace {

using Json = nlohmann::json;

constexpr std::array kPresets{ThemePreset::defaultPreset, ThemePreset::mono, ThemePreset::vitals,
                              ThemePreset::neon, ThemePreset::custom};
constexpr std::array<std::string_view, 5> kPresetRawValues{"default", "mono", "vitals", "neon",
                                                           "custom"};
constexpr std::array<std::string_view, 5> kPresetTitles{"Default", "Mono", "Vitals", "Neon",
                                                        "Custom"};

constexpr std::array kDensities{ThemeDensity::compact, ThemeDensity::comfortable};
constexpr std::array<std::string_view, 2> kDensityRawValues{"compact", "comfortable"};
constexpr std::array<std::string_view, 2> kDensityTitles{"Compact", "Comfortable"};

double clampUnit(double value) {
    if (std::isnan(value)) return 0;
    return std::clamp(value, 0.0, 1.0);
}

Json encodeColor(const CodableColor& color) {
    return Json{{"red", color.red},
                {"green", color.green},
                {"blue", color.blue},
                {"opacity", color.opacity}};
}

std::optional<double> number(const Json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_number()) return std::nullopt;
    return found->get<double>();
}

std::optional<CodableColor> color(const Json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_object()) return std::nullopt;
    auto red = number(*found, "red");
    auto green = number(*found, "green");
    auto blue = number(*found, "blue");
    auto opacity = number(*found, "opacity");
    if (!red || !green || !blue || !opacity) return std::nullopt;
    return CodableColor{*red, *green, *blue, *opacity};
}

}  // namespace

std::string_view rawValue(ThemePreset preset) {
    return kPresetRawValues[static_cast<size_t>(preset)];
}

std::optional<ThemePreset> themePresetFromRawValue(std::string_view raw) {
    for (ThemePreset preset : kPresets) {
        if (rawValue(preset) == raw) return preset;
    }
    return std::nullopt;
}

std::span<const ThemePreset> allThemePresets() { return kPresets; }

std::string_view title(ThemePreset preset) { return kPresetTitles[static_cast<size_t>(preset)]; }

std::string_view rawValue(ThemeDensity density) {
    return kDensityRawValues[static_cast<size_t>(density)];
}

std::optional<ThemeDensity> themeDensityFromRawValue(std::string_view raw) {
    for (ThemeDensity density : kDensities) {
        if (rawValue(density) == raw) return density;
    }
    return std::nullopt;
}

std::span<const ThemeDensity> allThemeDensities() { return kDensities; }

std::string_view title(ThemeDensity density) {
    return kDensityTitles[static_cast<size_t>(density)];
}

CodableColor CodableColor::from(Color color) {
    return {clampUnit(color.red), clampUnit(color.green), clampUnit(color.blue),
            clampUnit(color.opacity)};
}

CodableColor CodableColor::from(const ThemeColor& color, Appearance appearance) {
    return from(color.resolved(appearance));
}

ThemeData ThemeData::initial() {
    return {.accent = {1, 1, 1, 1},
            .background = {0, 0, 0, 1},
            .opacity = 0.82,
            .cornerRadius = 12,
            .density = ThemeDensity::comfortable};
}

std::string encodeThemeData(const ThemeData& data) {
    Json json{{"accent", encodeColor(data.accent)},
              {"background", encodeColor(data.background)},
              {"opacity", data.opacity},
              {"cornerRadius", data.cornerRadius},
              {"density", rawValue(data.density)}};
    return json.dump();
}

std::optional<ThemeData> decodeThemeData(std::string_view text) {
    Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!json.is_object()) return std::nullopt;  // also a parse error (discarded)
    auto accent = color(json, "accent");
    auto background = color(json, "background");
    auto opacity = number(json, "opacity");
    auto cornerRadius = number(json, "cornerRadius");
    auto densityEntry = json.find("density");
    if (!accent || !background || !opacity || !cornerRadius || densityEntry == json.end() ||
        !densityEntry->is_string()) {
        return std::nullopt;
    }
    auto density = themeDensityFromRawValue(densityEntry->get_ref<const std::string&>());
    if (!density) return std::nullopt;
    return ThemeData{*accent, *background, *opacity, *cornerRadius, *density};
}

}  // namespace glintdeck

size_t std::hash<glintdeck::CodableColor>::operator()(
    const glintdeck::CodableColor& color) const noexcept {
    size_t seed = 0;
    for (double component : {color.red, color.green, color.blue, color.opacity}) {
        // 0.0 and -0.0 compare equal, so they must hash alike.
        size_t hash = component == 0 ? 0 : std::hash<double>{}(component);
        seed ^= hash + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    }
    return seed;
}
