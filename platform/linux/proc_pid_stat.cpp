#include "platform/linux/proc_pid_stat.h"

#include "platform/linux/text_scanner.h"

namespace glintdeck {
namespace {

// Positions after the command, counting the state letter (field 3 of proc(5)) as 0.
constexpr int kUtime = 14 - 3;
constexpr int kStime = 15 - 3;
constexpr int kStartTime = 22 - 3;
constexpr int kResident = 24 - 3;

bool skipWords(TextScanner& scanner, int count) {
    for (int i = 0; i < count; ++i) {
        if (!scanner.readWord()) return false;
    }
    return true;
}

}  // namespace

std::optional<ProcPidStat> parseProcPidStat(std::string_view text) {
    size_t open = text.find('(');
    size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    ProcPidStat stat;
    TextScanner head(text.substr(0, open));
    std::optional<int64_t> pid = head.readSigned();
    if (!pid || *pid <= 0 || *pid > INT32_MAX) return std::nullopt;
    stat.pid = static_cast<int32_t>(*pid);
    stat.comm = text.substr(open + 1, close - open - 1);

    TextScanner fields(text.substr(close + 1));
    int position = 0;
    auto readAt = [&](int target) -> std::optional<uint64_t> {
        if (!skipWords(fields, target - position)) return std::nullopt;
        position = target + 1;
        return fields.readUnsigned();
    };
    std::optional<uint64_t> utime = readAt(kUtime);
    std::optional<uint64_t> stime = readAt(kStime);
    std::optional<uint64_t> startTime = readAt(kStartTime);
    if (!utime || !stime || !startTime) return std::nullopt;
    stat.utime = *utime;
    stat.stime = *stime;
    stat.startTime = *startTime;
    // Older kernels printed the resident count signed; a negative one means none.
    if (!skipWords(fields, kResident - position)) return std::nullopt;
    std::optional<int64_t> resident = fields.readSigned();
    if (!resident) return std::nullopt;
    stat.residentPages = *resident > 0 ? static_cast<uint64_t>(*resident) : 0;
    return stat;
}

}  // namespace glintdeck
