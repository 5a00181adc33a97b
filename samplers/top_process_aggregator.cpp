#include "samplers/top_process_aggregator.h"

#include <algorithm>
#include <utility>

#include "core/printable_text.h"
#include "samplers/process_naming.h"

namespace glintdeck {

std::vector<ProcStat> topTwelve(const NameTotals& totals) {
    constexpr size_t kCount = 12;
    std::vector<std::pair<std::string_view, double>> entries(totals.begin(), totals.end());
    auto larger = [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    };
    size_t kept = std::min(kCount, entries.size());
    std::partial_sort(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(kept),
                      entries.end(), larger);
    std::vector<ProcStat> top;
    top.reserve(kept);
    for (size_t i = 0; i < kept; ++i) {
        top.push_back(ProcStat{.name = std::string(entries[i].first), .value = entries[i].second});
    }
    return top;
}

TopProcessesSample TopProcessAggregator::aggregate(const std::vector<ProcessRow>& rows,
                                                   ProcessTableSource& source) {
    ++generation_;
    cpuByName_.clear();
    memoryByName_.clear();
    for (const ProcessRow& row : rows) {
        auto [entry, inserted] = nameCache_.try_emplace(row.id);
        if (inserted || entry->second.command != row.command || entry->second.image != row.image) {
            entry->second.command = row.command;
            entry->second.image = row.image;
            entry->second.name =
                printableText(displayName(source.executablePath(row), row.command));
        }
        entry->second.lastSeen = generation_;
        std::string_view name = entry->second.name;
        if (row.cpuPercent > 0) cpuByName_[name] += row.cpuPercent;
        if (row.memoryBytes > 0) memoryByName_[name] += row.memoryBytes;
    }
    TopProcessesSample sample{.byCPU = topTwelve(cpuByName_), .byMemory = topTwelve(memoryByName_)};

    // The totals view names in the cache: drop them before the cache forgets anything.
    cpuByName_.clear();
    memoryByName_.clear();
    std::erase_if(nameCache_,
                  [&](const auto& item) { return item.second.lastSeen != generation_; });
    return sample;
}

}  // namespace glintdeck
