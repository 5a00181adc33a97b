#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// The five panes of the settings window, in sidebar order. Raw values name them in code and
// tests; symbol names are those of the icon table.
enum class SettingsPane { stats, appearance, panel, hotkeys, about };

[[nodiscard]] std::string_view rawValue(SettingsPane pane);
[[nodiscard]] std::optional<SettingsPane> settingsPaneFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const SettingsPane> allSettingsPanes();
[[nodiscard]] std::string_view title(SettingsPane pane);       // "Stats", "Appearance", ...
[[nodiscard]] std::string_view symbolName(SettingsPane pane);  // "square.grid.2x2", ...

}  // namespace glintdeck
