#pragma once

#include <string_view>

namespace glintdeck {

// Whether a session manager would start an XDG autostart entry of this text, read as desktops
// read it: the [Desktop Entry] group's "Hidden" true, or GNOME's "X-GNOME-Autostart-enabled"
// false, turn it off; spaces around '=' and comment lines do not matter.
[[nodiscard]] bool autostartEntryEnabled(std::string_view text);

}  // namespace glintdeck
