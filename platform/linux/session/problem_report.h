#pragma once

#include <string_view>

namespace glintdeck {

// A problem the user should hear of outside any window (a start at login that cannot be
// changed or brought up to date): one line on standard error, after "glintdeck: ", and the same
// in the system log (syslog(3), user facility, error level), which many machines do not keep.
void reportProblem(std::string_view message);

}  // namespace glintdeck
