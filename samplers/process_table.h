#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace glintdeck {

// Which process a row describes. Process ids are reused, so the id alone is not enough: a
// process that starts under an id that another one held is a different process.
struct ProcessIdentity {
    int32_t pid = 0;
    uint64_t startTime = 0;  // in the table's own units; only compared for equality
    bool operator==(const ProcessIdentity&) const = default;
};

struct ProcessIdentityHash {
    size_t operator()(const ProcessIdentity& id) const {
        return std::hash<uint64_t>{}((id.startTime << 22) ^ static_cast<uint32_t>(id.pid));
    }
};

// Where a process's program was loaded: its code and the start of its stack. Only exec sets
// them, so a change says the process now runs another program, even one whose command starts
// with the same 15 bytes (all the kernel keeps of a command). All 0 where the system does not
// tell (another user's process, a kernel thread).
struct ProgramImage {
    uint64_t codeStart = 0;
    uint64_t codeEnd = 0;
    uint64_t stackStart = 0;
    bool operator==(const ProgramImage&) const = default;
};

// One process of a scan: how busy it was since the previous scan and how much memory it holds.
struct ProcessRow {
    ProcessIdentity id;
    double cpuPercent = 0;  // of one processor: a process busy on two reads 200
    double memoryBytes = 0;
    std::string command;  // the short command name, used when the executable path is unknown
    ProgramImage image;
};

enum class ScanResult {
    unreadable,  // the table could not be listed; rows are not meaningful
    baseline,    // no earlier scan to measure against: this one only starts the measurement
    measured,    // rows hold every process, CPU measured since the previous scan
};

// The system's process table as the top-process sampler reads it. Used on one queue only.
class ProcessTableSource {
  public:
    virtual ~ProcessTableSource() = default;

    // Scans every process into rows (reusing its storage) and measures against the previous
    // scan, which this scan then replaces.
    [[nodiscard]] virtual ScanResult scan(std::vector<ProcessRow>& rows) = 0;

    // Forgets the previous scan and gives back anything held for the next one, so the next
    // scan is a baseline.
    virtual void reset() = 0;

    // The path of the program a process runs; empty when it cannot be read (kernel threads,
    // other users' processes, a process that has gone).
    [[nodiscard]] virtual std::string executablePath(const ProcessRow& row) = 0;
};

}  // namespace glintdeck
