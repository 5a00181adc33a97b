#pragma once

#include <string>

#include "settings/login_item.h"

namespace glintdeck {

// What a flip of the "Launch at login" switch came to.
struct LaunchAtLoginChange {
    bool enabled = false;  // what the switch should show
    std::string problem;   // why the change could not be made; empty when it was
};

// The "Launch at login" switch's rule: asks the login item first and changes it only when it
// is not already as wanted, so turning on an enabled item (or off a disabled one) touches
// nothing. After a failure the switch shows the item's real state, read again, and the problem
// reads "Launch at login could not be turned on: <why>" (or "off").
[[nodiscard]] LaunchAtLoginChange applyLaunchAtLogin(LoginItem& item, bool wanted);

}  // namespace glintdeck
