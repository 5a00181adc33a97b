#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// Where the preferences live: $XDG_CONFIG_HOME/glintdeck/defaults.json, or
// <home>/.config/glintdeck/defaults.json when the variable is unset, empty or not absolute (the
// XDG base directory rules ignore relative values). Nothing when neither gives an absolute path.
[[nodiscard]] std::optional<std::string> standardPreferencesPath(
    std::optional<std::string_view> xdgConfigHome, std::optional<std::string_view> home);

}  // namespace glintdeck
