#pragma once

#include <dirent.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "platform/linux/descriptor_limit.h"
#include "platform/linux/proc_pid_stat.h"
#include "samplers/process_table.h"

namespace glintdeck {

// The process table in /proc under a root path. One read of /proc/PID/stat per process per
// scan, nothing else: CPU percent is the process's utime + stime since the previous scan over
// the time between the scans (not divided by the processor count, so a process busy on two
// cores reads 200), memory its resident pages, identity its pid and start time. A process
// that appeared since the previous scan ran only within the interval, so all its time counts.
//
// Each process's stat file stays open between scans and is re-read from offset 0, a third of
// the cost of reopening it; at most keptFileLimit files stay open (the rest are reopened each
// scan; see descriptor_limit.h), and reset() closes them all, so nothing is held while the lists
// are not shown.
class ProcProcessTable final : public ProcessTableSource {
  public:
    struct Units {
        double ticksPerSecond = 100;  // USER_HZ
        double pageSize = 4096;
        [[nodiscard]] static Units ofThisSystem();
    };

    ProcProcessTable(const std::string& root, std::shared_ptr<const Clock> clock,
                     Units units = Units::ofThisSystem(),
                     size_t keptFileLimit = currentKeptFileLimit());
    ~ProcProcessTable() override;

    ProcProcessTable(const ProcProcessTable&) = delete;
    ProcProcessTable& operator=(const ProcProcessTable&) = delete;

    [[nodiscard]] ScanResult scan(std::vector<ProcessRow>& rows) override;
    void reset() override;
    [[nodiscard]] std::string executablePath(const ProcessRow& row) override;

  private:
    struct Known {
        int32_t pid = 0;
        uint64_t startTime = 0;
        uint64_t cpuTicks = 0;
        int file = -1;  // its stat file, kept open, or -1
    };

    [[nodiscard]] bool listProcesses();
    [[nodiscard]] std::optional<ProcPidStat> readStat(int32_t pid, int& file);
    [[nodiscard]] int openInProc(int32_t pid, std::string_view leaf);

    std::string procPath_;
    std::shared_ptr<const Clock> clock_;
    Units units_;
    size_t keptFileLimit_;
    DIR* directory_ = nullptr;
    std::optional<double> previousTime_;
    std::vector<int32_t> pids_;
    std::vector<Known> previous_;  // sorted by pid
    std::vector<Known> current_;
    std::vector<char> buffer_;
};

}  // namespace glintdeck
