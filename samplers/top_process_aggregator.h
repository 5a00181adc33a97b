#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/samples.h"
#include "samplers/process_table.h"

namespace glintdeck {

// Totals per display name. The keys view names owned by the aggregator's name cache.
using NameTotals = std::unordered_map<std::string_view, double>;

// The entries with the largest values, largest first, at most twelve. Equal values are
// ordered by name so that a list does not shuffle between samples.
[[nodiscard]] std::vector<ProcStat> topTwelve(const NameTotals& totals);

// Turns a scan's rows into the two top-process lists: names each process, sums the processes
// that share a name, and keeps the twelve largest per list. A process is named the first time
// it is seen, and again only when it runs exec (a shell that became make): when its command or
// its program image changes; otherwise its executable path is not read again. It is forgotten
// when it leaves the table.
class TopProcessAggregator final {
  public:
    [[nodiscard]] TopProcessesSample aggregate(const std::vector<ProcessRow>& rows,
                                               ProcessTableSource& source);

  private:
    struct CachedName {
        std::string command;  // the command and image it was named with
        ProgramImage image;
        std::string name;
        uint64_t lastSeen = 0;
    };

    // Names of the processes present in the latest aggregated scan.
    std::unordered_map<ProcessIdentity, CachedName, ProcessIdentityHash> nameCache_;
    uint64_t generation_ = 0;
    NameTotals cpuByName_;
    NameTotals memoryByName_;
};

}  // namespace glintdeck
