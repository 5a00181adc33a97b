#pragma once

#include <optional>
#include <string_view>

namespace glintdeck {

// The value of key in the [Desktop Entry] group of a desktop entry's text, as desktops read it:
// spaces around '=' and comment lines do not matter, other groups' keys are theirs. Escapes are
// left as they are.
[[nodiscard]] std::optional<std::string_view> desktopEntryValue(std::string_view text,
                                                                std::string_view key);

// Whether a session manager would start an XDG autostart entry of this text: the [Desktop
// Entry] group's "Hidden" true, or GNOME's "X-GNOME-Autostart-enabled" false, turn it off.
[[nodiscard]] bool autostartEntryEnabled(std::string_view text);

}  // namespace glintdeck
