// The "cpu" line of /proc/stat.

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_stat_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    if (auto counters = parseProcStatCPU(textOf(data, size))) (void)toCPUTicks(*counters);
    return 0;
}
