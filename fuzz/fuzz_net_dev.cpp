// /proc/net/dev.

#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_net_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::vector<NetDevRow> rows;
    parseNetDev(textOf(data, size), rows);
    for (const NetDevRow& row : rows) {
        require(!row.name.empty() && row.name.find(':') == std::string::npos);
    }
    return 0;
}
