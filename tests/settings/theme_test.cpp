#include "settings/theme.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <unordered_set>

namespace glintdeck {
namespace {

TEST(ThemeTest, ReduceTransparencyRaisesOnlyTheBackgroundOpacity) {
    for (ThemePreset preset :
         {ThemePreset::defaultPreset, ThemePreset::mono, ThemePreset::vitals, ThemePreset::neon}) {
        SCOPED_TRACE(rawValue(preset));
        Theme normal = Theme::make(preset, std::nullopt, false);
        Theme reduced = Theme::make(preset, std::nullopt, true);
        for (Appearance appearance : {Appearance::dark, Appearance::light}) {
            EXPECT_LT(normal.colors.background.resolved(appearance).opacity, 0.98);
            EXPECT_EQ(reduced.colors.background.resolved(appearance).opacity, 0.98);
        }
        reduced.colors.background = normal.colors.background;
        EXPECT_EQ(reduced, normal);
    }
}

TEST(ThemeTest, CustomThemeAppliesTheUsersData) {
    ThemeData data{.accent = {0.2, 0.4, 0.6, 0.5},
                   .background = {0.1, 0.1, 0.1, 0.8},
                   .opacity = 0.5,
                   .cornerRadius = 3,
                   .density = ThemeDensity::compact};
    Theme theme = Theme::makeCustom(data, false);
    EXPECT_EQ(theme.colors.background.dark.opacity, 0.8 * 0.5);
    EXPECT_EQ(theme.colors.primaryText.dark, (Color{0.2, 0.4, 0.6, 0.5}));
    EXPECT_EQ(theme.colors.graphSecondary.light.opacity, 0.5 * 0.5);
    EXPECT_FALSE(theme.colors.primaryText.isAdaptive()) << "the accent is one colour";
    EXPECT_EQ(theme.metrics, (Theme::Metrics{3, 10, 10}));
    // The compact label is the larger one, not a swapped table.
    EXPECT_GT(theme.fonts.label.size, Theme::makeDefault(false).fonts.label.size);

    // Reduce transparency raises a translucent custom panel to 0.98 but keeps a more opaque one.
    for (double opacity : {0.5, 0.98, 1.0}) {
        data.opacity = opacity;
        EXPECT_EQ(Theme::makeCustom(data, true).colors.background.dark.opacity,
                  std::max(opacity, 0.98) * 0.8);
    }
    EXPECT_EQ(Theme::make(ThemePreset::custom, std::nullopt, false),
              Theme::makeCustom(ThemeData::initial(), false));
}

TEST(ThemeDataTest, InitialEncodesAsTheStoredFormAndRoundTrips) {
    std::string json = encodeThemeData(ThemeData::initial());
    auto expected = nlohmann::json::parse(R"({
        "accent": {"red": 1, "green": 1, "blue": 1, "opacity": 1},
        "background": {"red": 0, "green": 0, "blue": 0, "opacity": 1},
        "opacity": 0.82, "cornerRadius": 12, "density": "comfortable"})");
    EXPECT_EQ(nlohmann::json::parse(json), expected);
    EXPECT_EQ(decodeThemeData(json), ThemeData::initial());
    // Key order is free and extra keys are ignored; decoded values are used as they are.
    EXPECT_EQ(decodeThemeData(R"({"density":"compact","cornerRadius":-4,"opacity":7,"extra":1,
        "background":{"opacity":1,"blue":0,"green":0,"red":0},
        "accent":{"red":2,"green":0,"blue":0,"opacity":1}})"),
              (ThemeData{{2, 0, 0, 1}, {0, 0, 0, 1}, 7, -4, ThemeDensity::compact}));
}

TEST(ThemeDataTest, AnyMissingOrMistypedKeyFailsTheWholeDecode) {
    const auto good = nlohmann::json::parse(encodeThemeData(ThemeData::initial()));
    std::vector<nlohmann::json> broken;
    auto breakIt = [&](auto change) {
        broken.push_back(good);
        change(broken.back());
    };
    for (const auto& [key, value] : good.items()) {
        breakIt([&](auto& json) { json.erase(key); });
        breakIt([&](auto& json) { json[key] = value.is_string() ? nlohmann::json(1) : "1"; });
    }
    for (const char* component : {"red", "green", "blue", "opacity"}) {
        breakIt([&](auto& json) { json["background"].erase(component); });
        breakIt([&](auto& json) { json["accent"][component] = true; });
    }
    for (const char* density : {"roomy", "Compact", ""}) {
        breakIt([&](auto& json) { json["density"] = density; });
    }
    breakIt([](auto& json) { json["opacity"] = nullptr; });
    for (const auto& json : broken) EXPECT_EQ(decodeThemeData(json.dump()), std::nullopt) << json;
    for (const char* text : {"", "{", "[]", "null", "{\"accent\":", "\xff\xfe"}) {
        EXPECT_EQ(decodeThemeData(text), std::nullopt) << text;
    }
}

TEST(CodableColorTest, ClampsPickedColoursAndHashesLikeItCompares) {
    EXPECT_EQ(CodableColor::from(Color{-0.5, 1.5, 0.25, 2}), (CodableColor{0, 1, 0.25, 1}));
    EXPECT_EQ(CodableColor::from(Color{std::nan(""), 0.5, 0.5, 1}), (CodableColor{0, 0.5, 0.5, 1}));
    EXPECT_EQ(CodableColor::from(colors::ink(), Appearance::light), (CodableColor{0, 0, 0, 1}));

    std::unordered_set<CodableColor> set{{0.0, 0, 0, 1}, {-0.0, 0, 0, 1}, {0, 0, 0, 0.5}};
    EXPECT_EQ(set.size(), 2u);
}

}  // namespace
}  // namespace glintdeck
