#pragma once

#include <functional>
#include <string_view>

#include "platform/linux/login_item.h"

namespace glintdeck {

// The "Launch at login" switch's rule: asks the login item first and changes it only when it
// is not already as wanted, so turning on an enabled item (or off a disabled one) touches
// nothing. A failed change is logged as "Launch at login: failed to register: <why>" (or
// "unregister"). Returns what the switch should show: the wanted state, or after a failure the
// item's real state read again.
[[nodiscard]] bool applyLaunchAtLogin(LoginItem& item, bool wanted,
                                      const std::function<void(std::string_view)>& log);

}  // namespace glintdeck
