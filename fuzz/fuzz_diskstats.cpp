// /proc/diskstats, and the choice of counted drives among the names it lists.

#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/linux/diskstats_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::vector<DiskstatsRow> rows;
    parseDiskstats(textOf(data, size), rows);
    std::vector<std::string> names;
    for (const DiskstatsRow& row : rows) names.emplace_back(row.name);
    for (const CountedDisk& disk : countedDisks(names)) {
        require(!disk.name.empty());
        for (const std::string& path : disk.paths) require(path != disk.name);
    }
    return 0;
}
