#include "settings_window/launch_at_login.h"

#include <string>

namespace glintdeck {

bool applyLaunchAtLogin(LoginItem& item, bool wanted,
                        const std::function<void(std::string_view)>& log) {
    if (item.isEnabled() == wanted) return wanted;
    LoginItem::Result result = wanted ? item.enable() : item.disable();
    if (result.ok) return wanted;
    log(std::string("Launch at login: failed to ") + (wanted ? "register" : "unregister") + ": " +
        result.error);
    return item.isEnabled();
}

}  // namespace glintdeck
