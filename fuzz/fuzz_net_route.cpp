// /proc/net/route.

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_net_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    if (auto name = parseDefaultRoute(textOf(data, size))) require(!name->empty());
    return 0;
}
