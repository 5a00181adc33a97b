#include "platform/linux/desktop_session.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

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

DesktopSession DesktopSession::fromVariables(std::string_view waylandDisplay,
                                             std::string_view sessionType,
                                             std::string_view currentDesktop) {
    DesktopSession session;
    session.wayland = !waylandDisplay.empty() || equalIgnoringCase(sessionType, "wayland");
    while (!currentDesktop.empty()) {
        const size_t colon = currentDesktop.find(':');
        std::string_view name = currentDesktop.substr(0, colon);
        if (!name.empty()) session.desktops.emplace_back(name);
        if (colon == std::string_view::npos) break;
        currentDesktop.remove_prefix(colon + 1);
    }
    return session;
}

DesktopSession DesktopSession::fromEnvironment() {
    return fromVariables(variable("WAYLAND_DISPLAY"), variable("XDG_SESSION_TYPE"),
                         variable("XDG_CURRENT_DESKTOP"));
}

bool DesktopSession::isDesktop(std::string_view name) const {
    return std::ranges::any_of(
        desktops, [name](const std::string& desktop) { return equalIgnoringCase(desktop, name); });
}

}  // namespace glintdeck
