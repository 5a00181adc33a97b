#include "platform/linux/diskstats_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/linux/directory_entries.h"
#include "platform/linux/text_scanner.h"

namespace glintdeck {
namespace {

constexpr uint64_t kSectorBytes = 512;

bool isLayeredOrNotADrive(std::string_view name) {
    constexpr std::array<std::string_view, 8> prefixes = {"loop", "ram", "zram", "dm-",
                                                          "md",   "nbd", "sr",   "fd"};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [name](std::string_view prefix) { return name.starts_with(prefix); });
}

size_t leadingDigits(std::string_view text) {
    size_t count = 0;
    while (count < text.size() && text[count] >= '0' && text[count] <= '9') ++count;
    return count;
}

// The head of an NVMe controller path: nvme<subsystem>c<controller>n<namespace> is a path of
// nvme<subsystem>n<namespace>. Nothing for any other name.
std::optional<std::string> multipathHead(std::string_view name) {
    if (!name.starts_with("nvme")) return std::nullopt;
    std::string_view rest = name.substr(4);
    size_t subsystemDigits = leadingDigits(rest);
    if (subsystemDigits == 0 || rest.substr(subsystemDigits, 1) != "c") return std::nullopt;
    std::string_view subsystem = rest.substr(0, subsystemDigits);
    rest.remove_prefix(subsystemDigits + 1);
    size_t controllerDigits = leadingDigits(rest);
    if (controllerDigits == 0 || rest.substr(controllerDigits, 1) != "n") return std::nullopt;
    std::string_view nsid = rest.substr(controllerDigits + 1);
    if (nsid.empty() || leadingDigits(nsid) != nsid.size()) return std::nullopt;
    return "nvme" + std::string(subsystem) + "n" + std::string(nsid);
}

}  // namespace

void parseDiskstats(std::string_view text, std::vector<DiskstatsRow>& rows) {
    rows.clear();
    TextScanner lines(text);
    while (!lines.atEnd()) {
        std::string_view line = lines.rest().substr(0, lines.rest().find('\n'));
        lines.skipLine();
        TextScanner scanner(line);
        if (!scanner.readUnsigned() || !scanner.readUnsigned()) continue;  // major, minor
        std::optional<std::string_view> name = scanner.readWord();
        if (!name) continue;
        DiskstatsRow row{.name = *name};
        // reads, reads merged, sectors read, ms reading, writes, writes merged, sectors written
        for (int field = 1; field <= 7; ++field) {
            std::optional<uint64_t> value = scanner.readUnsigned();
            if (!value) break;
            if (field == 3) row.sectorsRead = value;
            if (field == 7) row.sectorsWritten = value;
        }
        rows.push_back(row);
    }
}

std::vector<CountedDisk> countedDisks(const std::vector<std::string>& wholeDisks) {
    auto listed = [&wholeDisks](const std::string& name) {
        return std::find(wholeDisks.begin(), wholeDisks.end(), name) != wholeDisks.end();
    };
    std::vector<CountedDisk> counted;
    for (const std::string& name : wholeDisks) {
        if (isLayeredOrNotADrive(name)) continue;
        std::optional<std::string> head = multipathHead(name);
        if (head && listed(*head)) continue;  // counted with its head
        CountedDisk disk{.name = name};
        for (const std::string& other : wholeDisks) {
            if (multipathHead(other) == name) disk.paths.push_back(other);
        }
        counted.push_back(std::move(disk));
    }
    return counted;
}

DiskstatsReader::DiskstatsReader(std::string root)
    : root_(std::move(root)), diskstats_(root_ + "/proc/diskstats") {}

bool DiskstatsReader::namesChanged() const {
    return !std::equal(
        rows_.begin(), rows_.end(), names_.begin(), names_.end(),
        [](const DiskstatsRow& row, const std::string& name) { return row.name == name; });
}

void DiskstatsReader::chooseDisks() {
    std::vector<std::string> wholeDisks;
    for (const auto& entry : DirectoryEntries(root_ + "/sys/block")) {
        wholeDisks.push_back(entry.path().filename().string());
    }
    std::sort(wholeDisks.begin(), wholeDisks.end());
    names_.clear();
    for (const DiskstatsRow& row : rows_) names_.emplace_back(row.name);
    auto rowOf = [this](const std::string& name) {
        auto found = std::find(names_.begin(), names_.end(), name);
        return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
    };
    counted_.clear();
    for (const CountedDisk& disk : countedDisks(wholeDisks)) {
        Drive& drive = counted_.emplace_back();
        drive.head = rowOf(disk.name);
        for (const std::string& path : disk.paths) drive.paths.push_back(rowOf(path));
    }
}

namespace {

// The larger of a head's counter and the sum of its paths' counters; absent when none of
// them has the counter.
std::optional<uint64_t> driveSectors(const std::vector<DiskstatsRow>& rows, int head,
                                     const std::vector<int>& paths,
                                     std::optional<uint64_t> DiskstatsRow::*counter) {
    std::optional<uint64_t> headSectors;
    if (head >= 0) headSectors = rows[head].*counter;
    std::optional<uint64_t> pathSectors;
    for (int path : paths) {
        if (path < 0 || !(rows[path].*counter)) continue;
        pathSectors = pathSectors.value_or(0) + *(rows[path].*counter);
    }
    if (!headSectors) return pathSectors;
    if (!pathSectors) return headSectors;
    return std::max(*headSectors, *pathSectors);
}

}  // namespace

bool DiskstatsReader::readDrives(std::vector<std::optional<DriveStatistics>>& drives) {
    drives.clear();
    std::optional<std::string_view> text = diskstats_.read();
    if (!text) return false;
    parseDiskstats(*text, rows_);
    if (namesChanged()) {
        chooseDisks();
        // A disk enters /proc/diskstats a moment before its /sys/block link appears; looking
        // once more on the next tick catches one plugged in just then.
        chooseAgain_ = true;
    } else if (chooseAgain_) {
        chooseDisks();
        chooseAgain_ = false;
    }
    for (const Drive& drive : counted_) {
        std::optional<uint64_t> read =
            driveSectors(rows_, drive.head, drive.paths, &DiskstatsRow::sectorsRead);
        std::optional<uint64_t> written =
            driveSectors(rows_, drive.head, drive.paths, &DiskstatsRow::sectorsWritten);
        if (!read && !written) continue;  // listed in /sys/block only
        DriveStatistics table;
        if (read) table.bytesRead = *read * kSectorBytes;
        if (written) table.bytesWritten = *written * kSectorBytes;
        drives.emplace_back(table);
    }
    return true;
}

}  // namespace glintdeck
