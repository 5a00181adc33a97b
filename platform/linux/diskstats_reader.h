#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/kernel_file.h"
#include "samplers/disk_sampler.h"

namespace glintdeck {

// One line of /proc/diskstats. The name views the parsed text. Counters a line does not carry
// are absent.
struct DiskstatsRow {
    std::string_view name;
    std::optional<uint64_t> sectorsRead;     // field 6: always 512-byte units
    std::optional<uint64_t> sectorsWritten;  // field 10
    bool operator==(const DiskstatsRow&) const = default;
};

// Fills rows (cleared first) with the well-formed lines of text.
void parseDiskstats(std::string_view text, std::vector<DiskstatsRow>& rows);

// A drive whose traffic counts. An NVMe namespace reached through native multipath is one
// drive with a head (nvme0n1) and one hidden device per controller path (nvme0c0n1); which of
// them count requests depends on the kernel (the paths always have; the head only since 6.0),
// so the drive moved the larger of the head's bytes and the sum of its paths' bytes.
struct CountedDisk {
    std::string name;
    std::vector<std::string> paths;  // empty for any other drive
    bool operator==(const CountedDisk&) const = default;
};

// Which of the whole disks listed in /sys/block carry the machine's own traffic, each byte
// once. Loop, ram, zram, device-mapper (LVM, LUKS), md RAID, nbd, optical and floppy devices
// are left out: each is layered on a disk already counted, or is not a storage drive.
[[nodiscard]] std::vector<CountedDisk> countedDisks(const std::vector<std::string>& wholeDisks);

// "Statistics" tables for the counted disks, from /proc/diskstats under a root path. The set
// of disks is chosen again whenever the device names in /proc/diskstats change, so a disk
// plugged in later counts.
class DiskstatsReader final : public BlockStorageSource {
  public:
    explicit DiskstatsReader(std::string root);

    [[nodiscard]] bool readDrives(std::vector<std::optional<DriveStatistics>>& drives) override;

  private:
    [[nodiscard]] bool namesChanged() const;
    void chooseDisks();

    std::string root_;
    KernelFile diskstats_;
    std::vector<DiskstatsRow> rows_;
    // Rows of one counted drive, as indices into rows_ (-1: not in /proc/diskstats).
    struct Drive {
        int head = -1;
        std::vector<int> paths;
    };

    std::vector<std::string> names_;  // the names of rows_ when the disks were last chosen
    std::vector<Drive> counted_;
    bool chooseAgain_ = false;
};

}  // namespace glintdeck
