#include "samplers/disk_sampler.h"

#include "samplers/counter_delta.h"

namespace glintdeck {

DiskSampler::DiskSampler(Executor& executor, double interval,
                         std::unique_ptr<FileSystemSource> fileSystem,
                         std::unique_ptr<BlockStorageSource> drives, OnSample onSample)
    : PeriodicSampler(executor, "DiskSampler", interval, interval),
      fileSystem_(std::move(fileSystem)),
      drives_(std::move(drives)),
      onSample_(std::move(onSample)) {}

std::optional<DiskSampler::IOTotals> DiskSampler::ioTotals() {
    if (!drives_->readDrives(driveTables_)) return std::nullopt;
    IOTotals totals;
    bool found = false;
    for (const std::optional<DriveStatistics>& table : driveTables_) {
        if (!table) continue;
        if (table->bytesRead) {
            totals.read += *table->bytesRead;
            found = true;
        }
        if (table->bytesWritten) {
            totals.written += *table->bytesWritten;
            found = true;
        }
    }
    if (!found) return std::nullopt;
    return totals;
}

void DiskSampler::tick() {
    DiskSample sample;
    if (std::optional<FileSystemStatistics> fs = fileSystem_->rootFileSystem()) {
        sample.totalBytes = fs->blocks * fs->blockSize;
        // Blocks reserved for the superuser are not free to the user looking at the tile.
        sample.freeBytes = fs->availableBlocks * fs->blockSize;
        sample.usedBytes = saturatingDelta(sample.totalBytes, sample.freeBytes);
    }

    ++intervalsSincePrevious_;
    if (std::optional<IOTotals> io = ioTotals()) {
        if (previousIO_) {
            double seconds = interval() * intervalsSincePrevious_;
            sample.readBytesPerSec =
                static_cast<double>(saturatingDelta(io->read, previousIO_->read)) / seconds;
            sample.writeBytesPerSec =
                static_cast<double>(saturatingDelta(io->written, previousIO_->written)) / seconds;
        }
        previousIO_ = io;
        intervalsSincePrevious_ = 0;
    }
    onSample_(sample);
}

}  // namespace glintdeck
