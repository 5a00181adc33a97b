#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/samples.h"
#include "samplers/periodic_sampler.h"

namespace glintdeck {

// What the file system reports for the volume mounted at "/".
struct FileSystemStatistics {
    uint64_t blockSize = 0;        // the fundamental block size, in bytes
    uint64_t blocks = 0;           // total blocks
    uint64_t availableBlocks = 0;  // blocks an unprivileged user may still fill
    bool operator==(const FileSystemStatistics&) const = default;
};

class FileSystemSource {
  public:
    virtual ~FileSystemSource() = default;
    // Nothing when the file system cannot be asked.
    [[nodiscard]] virtual std::optional<FileSystemStatistics> rootFileSystem() = 0;
};

// One block-storage drive's "Statistics" table: bytes moved since the drive attached. An entry
// the driver does not report is absent.
struct DriveStatistics {
    std::optional<uint64_t> bytesRead;     // "Bytes (Read)"
    std::optional<uint64_t> bytesWritten;  // "Bytes (Write)"
    bool operator==(const DriveStatistics&) const = default;
};

class BlockStorageSource {
  public:
    virtual ~BlockStorageSource() = default;
    // Fills drives (cleared first) with one entry per block-storage drive: its statistics
    // table, or nothing when the drive's properties cannot be read or carry no such table.
    // False when the drives cannot be listed at all.
    [[nodiscard]] virtual bool readDrives(std::vector<std::optional<DriveStatistics>>& drives) = 0;
};

// Space of the root volume and read and write throughput summed over all drives. Every tick
// delivers: space 0 when the file system cannot be asked, rates 0 on the first tick, when the
// drives cannot be read, or for a direction whose total went down (a drive detached).
class DiskSampler final : public PeriodicSampler {
  public:
    using OnSample = std::function<void(const DiskSample&)>;

    DiskSampler(Executor& executor, double interval, std::unique_ptr<FileSystemSource> fileSystem,
                std::unique_ptr<BlockStorageSource> drives, OnSample onSample);

  private:
    struct IOTotals {
        uint64_t read = 0;
        uint64_t written = 0;
    };

    void tick() override;
    [[nodiscard]] std::optional<IOTotals> ioTotals();

    std::unique_ptr<FileSystemSource> fileSystem_;
    std::unique_ptr<BlockStorageSource> drives_;
    OnSample onSample_;
    std::optional<IOTotals> previousIO_;
    // Ticks since previousIO_ was read: a failed read in between means the next delta spans
    // more than one interval.
    int intervalsSincePrevious_ = 0;
    std::vector<std::optional<DriveStatistics>> driveTables_;  // reused every tick
};

}  // namespace glintdeck
