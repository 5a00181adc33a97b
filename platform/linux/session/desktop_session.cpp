#include "platform/linux/session/desktop_session.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace glintdeck {

namespace {

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

DesktopSession DesktopSession::fromVariables(const Variables& variables) {
    DesktopSession session;
    const bool wayland =
        !variables.waylandDisplay.empty() || equalIgnoringCase(variables.sessionType, "wayland");
    session.kind = wayland ? SessionKind::wayland : SessionKind::x11;
    std::string_view currentDesktop = variables.currentDesktop;
    while (!currentDesktop.empty()) {
        const size_t colon = currentDesktop.find(':');
        std::string_view name = currentDesktop.substr(0, colon);
        if (!name.empty()) session.desktops.emplace_back(name);
        if (colon == std::string_view::npos) break;
        currentDesktop.remove_prefix(colon + 1);
    }
    // Each compositor tells the programs it starts where its own socket is.
    for (const auto& [compositor, socket] : {std::pair{"sway", variables.swaySocket},
                                             std::pair{"Hyprland", variables.hyprlandInstance}}) {
        if (!socket.empty() && !session.isDesktop(compositor)) {
            session.desktops.emplace_back(compositor);
        }
    }
    return session;
}

DesktopSession DesktopSession::fromEnvironment() {
    return fromVariables({.waylandDisplay = variable("WAYLAND_DISPLAY"),
                          .sessionType = variable("XDG_SESSION_TYPE"),
                          .currentDesktop = variable("XDG_CURRENT_DESKTOP"),
                          .swaySocket = variable("SWAYSOCK"),
                          .hyprlandInstance = variable("HYPRLAND_INSTANCE_SIGNATURE")});
}

bool DesktopSession::isDesktop(std::string_view name) const {
    return std::ranges::any_of(
        desktops, [name](const std::string& desktop) { return equalIgnoringCase(desktop, name); });
}

}  // namespace glintdeck
