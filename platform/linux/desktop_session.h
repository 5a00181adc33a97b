#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// What kind of graphical session the program runs in, read once from the environment the
// session manager gave it. A Wayland session changes how the summon key arrives (the desktop
// owns global keys), how the strip learns that the user clicked elsewhere (XWayland sees no
// clicks on native windows) and where "under the pointer" is (XWayland does not know).
struct DesktopSession {
    // WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE is "wayland".
    bool wayland = false;
    // XDG_CURRENT_DESKTOP split at ':' ("ubuntu:GNOME" is Ubuntu's GNOME), empty entries dropped.
    std::vector<std::string> desktops;

    [[nodiscard]] static DesktopSession fromVariables(std::string_view waylandDisplay,
                                                      std::string_view sessionType,
                                                      std::string_view currentDesktop);
    [[nodiscard]] static DesktopSession fromEnvironment();

    // Whether XDG_CURRENT_DESKTOP names this desktop, compared without regard to case
    // ("KDE", "GNOME", "sway", "Hyprland").
    [[nodiscard]] bool isDesktop(std::string_view name) const;
};

}  // namespace glintdeck
