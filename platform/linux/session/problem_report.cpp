#include "platform/linux/session/problem_report.h"

#include <syslog.h>

#include <cstdio>
#include <string>

namespace glintdeck {

void reportProblem(std::string_view message) {
    std::string line(message);
    std::fprintf(stderr, "glintdeck: %s\n", line.c_str());
    // Through "%s": the message carries an error text from elsewhere, never a format.
    ::syslog(LOG_USER | LOG_ERR, "%s", line.c_str());
}

}  // namespace glintdeck
