// /proc/PID/stat, whose command name between parentheses is chosen by the process.

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_pid_stat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::string_view text = textOf(data, size);
    if (auto stat = parseProcPidStat(text)) {
        require(stat->pid > 0);
        // The name is a view into the text it came from.
        require(stat->comm.data() >= text.data() &&
                stat->comm.data() + stat->comm.size() <= text.data() + text.size());
    }
    return 0;
}
