#pragma once

#include <string_view>

// The keys of the preferences file. They are a stored format: renaming one loses the users'
// values.
namespace glintdeck::preference_keys {

inline constexpr std::string_view statOrder = "statOrder";
inline constexpr std::string_view enabledStats = "enabledStats";
inline constexpr std::string_view knownStats = "knownStats";
inline constexpr std::string_view tileValueModes = "tileValueModes";
inline constexpr std::string_view tileStyles = "tileStyles";
inline constexpr std::string_view interval = "interval";
inline constexpr std::string_view anchor = "anchor";
inline constexpr std::string_view hasCustomPosition = "hasCustomPosition";
inline constexpr std::string_view customPositionX = "customPositionX";
inline constexpr std::string_view customPositionY = "customPositionY";
inline constexpr std::string_view stripHeight = "stripHeight";
inline constexpr std::string_view hotKeyCode = "hotKeyCode";
inline constexpr std::string_view hotKeyModifiers = "hotKeyModifiers";
inline constexpr std::string_view pinHotKeyCode = "pinHotKeyCode";
inline constexpr std::string_view pinHotKeyModifiers = "pinHotKeyModifiers";
inline constexpr std::string_view hasSeenHint = "hasSeenHint";
inline constexpr std::string_view themePreset = "themePreset";
inline constexpr std::string_view customTheme = "customTheme";

}  // namespace glintdeck::preference_keys
