#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "samplers/process_table.h"

namespace glintdeck {

inline ProcessRow row(int32_t pid, double cpu, double memory, std::string command = "other",
                      uint64_t startTime = 1) {
    return ProcessRow{.id = {.pid = pid, .startTime = startTime},
                      .cpuPercent = cpu,
                      .memoryBytes = memory,
                      .command = std::move(command)};
}

// A process table that answers the same rows every scan (a baseline after each reset, as a real
// table does), knows executable paths by pid, and counts what it is asked.
class FakeProcessTable final : public ProcessTableSource {
  public:
    std::vector<ProcessRow> rows = {row(1, 10, 100)};
    std::map<int32_t, std::string> paths;
    bool baselined = false;
    bool measureAtOnce = false;
    std::function<void()> duringScan = [] {};
    std::atomic<int> scans = 0;
    int resets = 0;
    int pathReads = 0;

    ScanResult scan(std::vector<ProcessRow>& out) override {
        ++scans;
        duringScan();
        out = rows;
        bool measured = std::exchange(baselined, true) || measureAtOnce;
        return measured ? ScanResult::measured : ScanResult::baseline;
    }
    void reset() override {
        ++resets;
        baselined = false;
    }
    std::string executablePath(const ProcessRow& r) override {
        ++pathReads;
        return paths.contains(r.id.pid) ? paths[r.id.pid] : "";
    }
};

}  // namespace glintdeck
