#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "samplers/process_table.h"

namespace glintdeck {

// The fields of /proc/PID/stat the top-process lists need (proc(5)). Times are in clock ticks
// (sysconf(_SC_CLK_TCK)); startTime counts from boot.
struct ProcPidStat {
    int32_t pid = 0;
    std::string_view comm;  // views the parsed text
    uint64_t utime = 0;
    uint64_t stime = 0;
    uint64_t startTime = 0;
    uint64_t residentPages = 0;
    ProgramImage image;  // fields 26 to 28; all 0 where the line ends before them
    bool operator==(const ProcPidStat&) const = default;
};

// Parses one stat line. The command name sits in parentheses and may itself hold spaces and
// parentheses ("(my (odd) name)"), so the numeric fields are counted from the last ')'.
[[nodiscard]] std::optional<ProcPidStat> parseProcPidStat(std::string_view text);

}  // namespace glintdeck
