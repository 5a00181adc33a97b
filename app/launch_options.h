#pragma once

#include <span>
#include <string>
#include <string_view>

namespace glintdeck {

// What a launch of glintdeck asks for. The HUD takes no arguments: --help and --version are
// answered before any display, socket or preference is touched, and anything else is refused
// rather than ignored, so a mistyped option never starts (or toggles) the HUD unseen. Only
// "-session ID", which an X11 session manager adds when it restores the session, is let
// through to Qt.
struct LaunchRequest {
    enum class Action { runHud, help, version, refuse };
    Action action = Action::runHud;
    std::string error;  // one line, for refuse
};

[[nodiscard]] LaunchRequest parseLaunchArguments(std::span<const std::string_view> arguments);

[[nodiscard]] std::string_view hudHelpText();
[[nodiscard]] std::string_view hudVersionText();

}  // namespace glintdeck
