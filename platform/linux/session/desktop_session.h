#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/session/session_kind.h"

namespace glintdeck {

// What kind of graphical session the program runs in, read once from the environment the
// session manager gave it. A Wayland session changes how the summon key arrives (the desktop
// owns global keys), how the strip learns that the user clicked elsewhere (XWayland sees no
// clicks on native windows) and where "under the pointer" is (XWayland does not know).
struct DesktopSession {
    // The environment variables it reads; unset and empty are the same.
    struct Variables {
        std::string_view waylandDisplay;    // WAYLAND_DISPLAY
        std::string_view sessionType;       // XDG_SESSION_TYPE
        std::string_view currentDesktop;    // XDG_CURRENT_DESKTOP
        std::string_view swaySocket;        // SWAYSOCK
        std::string_view hyprlandInstance;  // HYPRLAND_INSTANCE_SIGNATURE
    };

    // Wayland where WAYLAND_DISPLAY is set or XDG_SESSION_TYPE is "wayland".
    SessionKind kind = SessionKind::x11;
    // XDG_CURRENT_DESKTOP split at ':' ("ubuntu:GNOME" is Ubuntu's GNOME), empty entries dropped;
    // then "sway" where SWAYSOCK is set and "Hyprland" where HYPRLAND_INSTANCE_SIGNATURE is,
    // since those compositors need not name themselves there (sway 1.7 never does).
    std::vector<std::string> desktops;

    [[nodiscard]] static DesktopSession fromVariables(const Variables& variables);
    [[nodiscard]] static DesktopSession fromEnvironment();

    // Whether the session names this desktop, compared without regard to case ("KDE", "GNOME",
    // "sway", "Hyprland").
    [[nodiscard]] bool isDesktop(std::string_view name) const;
};

}  // namespace glintdeck
