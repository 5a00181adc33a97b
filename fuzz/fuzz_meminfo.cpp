// /proc/meminfo and a zram device's mm_stat, turned into page counts of two page sizes.

#include "fuzz/fuzz_support.h"
#include "platform/linux/meminfo_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::string_view text = textOf(data, size);
    uint64_t zramBytes = parseZramMemUsed(text).value_or(0);
    std::optional<Meminfo> info = parseMeminfo(text);
    if (!info) return 0;
    for (uint64_t pageSize : {uint64_t{4096}, uint64_t{16384}}) {
        (void)toVMStatistics(*info, zramBytes, pageSize);
    }
    return 0;
}
