#include "platform/linux/statvfs_reader.h"

#include <sys/statvfs.h>

namespace glintdeck {

StatvfsReader::StatvfsReader(std::string root) : root_(std::move(root)) {}

std::optional<FileSystemStatistics> StatvfsReader::rootFileSystem() {
    struct statvfs fs {};
    if (::statvfs(root_.c_str(), &fs) != 0) return std::nullopt;
    // f_blocks and f_bavail count f_frsize units, not f_bsize ones (statvfs(3)). f_bavail,
    // not f_bfree: the blocks reserved for root are not the user's to fill.
    return FileSystemStatistics{
        .blockSize = fs.f_frsize,
        .blocks = fs.f_blocks,
        .availableBlocks = fs.f_bavail,
    };
}

}  // namespace glintdeck
