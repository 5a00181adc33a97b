#include "platform/linux/system_log.h"

#include <syslog.h>

#include <string>

namespace glintdeck {

void writeSystemLog(std::string_view message) {
    // Through "%s": the message carries an error text from elsewhere, never a format.
    std::string line(message);
    ::syslog(LOG_USER | LOG_ERR, "%s", line.c_str());
}

}  // namespace glintdeck
