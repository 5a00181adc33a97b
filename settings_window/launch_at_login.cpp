#include "settings_window/launch_at_login.h"

namespace glintdeck {

LaunchAtLoginChange applyLaunchAtLogin(LoginItem& item, bool wanted) {
    if (item.isEnabled() == wanted) return {wanted, {}};
    LoginItem::Result result = wanted ? item.enable() : item.disable();
    if (result.ok) return {wanted, {}};
    return {item.isEnabled(), std::string("Launch at login could not be turned ") +
                                  (wanted ? "on" : "off") + ": " + result.error};
}

}  // namespace glintdeck
