#pragma once

#include <string>

namespace glintdeck {

// Starting Glintdeck when the user logs in: enable, disable and ask. Failures carry a reason
// for the system log.
class LoginItem {
  public:
    struct Result {
        bool ok = false;
        std::string error;  // why, when not ok
    };
    virtual ~LoginItem() = default;
    [[nodiscard]] virtual bool isEnabled() const = 0;
    [[nodiscard]] virtual Result enable() = 0;
    [[nodiscard]] virtual Result disable() = 0;
};

}  // namespace glintdeck
