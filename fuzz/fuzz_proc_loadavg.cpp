// /proc/loadavg: three non-negative finite averages or nothing.

#include <cmath>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_loadavg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    if (auto averages = parseLoadAverage(textOf(data, size))) {
        for (double value : *averages) require(std::isfinite(value) && value >= 0);
    }
    return 0;
}
