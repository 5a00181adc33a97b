#pragma once

#include <string_view>

namespace glintdeck {

// Writes one line to the system log (syslog(3), user facility, error level). The program's only
// log output: the launch-at-login failure of the settings window.
void writeSystemLog(std::string_view message);

}  // namespace glintdeck
