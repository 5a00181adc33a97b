#pragma once

#include <span>
#include <string_view>

namespace glintdeck {

// The five panes of the settings window, in sidebar order; symbol names are those of the icon
// table.
enum class SettingsPane { stats, appearance, panel, hotkeys, about };

[[nodiscard]] std::span<const SettingsPane> allSettingsPanes();
[[nodiscard]] std::string_view title(SettingsPane pane);       // "Stats", "Appearance", ...
[[nodiscard]] std::string_view symbolName(SettingsPane pane);  // "square.grid.2x2", ...

}  // namespace glintdeck
