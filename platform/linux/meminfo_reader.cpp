#include "platform/linux/meminfo_reader.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/linux/directory_entries.h"
#include "platform/linux/text_scanner.h"

namespace glintdeck {

std::optional<Meminfo> parseMeminfo(std::string_view text) {
    Meminfo info;
    bool haveTotal = false;
    bool haveFree = false;
    TextScanner scanner(text);
    while (!scanner.atEnd()) {
        std::string_view line = scanner.rest();
        scanner.skipLine();
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view key = line.substr(0, colon);
        std::optional<uint64_t> value = TextScanner(line.substr(colon + 1)).readUnsigned();
        if (!value) continue;
        if (key == "MemTotal") {
            info.memTotal = *value;
            haveTotal = true;
        } else if (key == "MemFree") {
            info.memFree = *value;
            haveFree = true;
        } else if (key == "MemAvailable") {
            info.memAvailable = *value;
        } else if (key == "AnonPages") {
            info.anonPages = *value;
        } else if (key == "SUnreclaim") {
            info.sUnreclaim = *value;
        } else if (key == "KernelStack") {
            info.kernelStack = *value;
        } else if (key == "PageTables") {
            info.pageTables = *value;
        } else if (key == "SecPageTables") {
            info.secPageTables = *value;
        } else if (key == "Mlocked") {
            info.mlocked = *value;
        } else if (key == "Zswap") {
            info.zswap = *value;
        }
    }
    if (!haveTotal || !haveFree) return std::nullopt;
    return info;
}

std::optional<uint64_t> parseZramMemUsed(std::string_view mmStat) {
    TextScanner scanner(mmStat);
    if (!scanner.readUnsigned() || !scanner.readUnsigned()) return std::nullopt;
    return scanner.readUnsigned();
}

VMStatistics toVMStatistics(const Meminfo& m, uint64_t zramBytes, uint64_t pageSize) {
    auto pages = [pageSize](uint64_t kilobytes) { return kilobytes * 1024 / pageSize; };
    uint64_t available =
        m.memAvailable && *m.memAvailable <= m.memTotal ? *m.memAvailable : m.memFree;
    uint64_t used = pages(m.memTotal - std::min(available, m.memTotal));
    uint64_t wire =
        pages(m.sUnreclaim + m.kernelStack + m.pageTables + m.secPageTables + m.mlocked);
    uint64_t compressor = pages(m.zswap) + zramBytes / pageSize;
    uint64_t active = used > wire + compressor ? used - wire - compressor : 0;
    return VMStatistics{
        .active = active,
        .wire = wire,
        .compressor = compressor,
        .internal = pages(m.anonPages),
        .purgeable = 0,
    };
}

MeminfoReader::MeminfoReader(std::string root, uint64_t pageSize)
    : root_(std::move(root)), pageSize_(pageSize), meminfo_(root_ + "/proc/meminfo") {}

uint64_t MeminfoReader::systemPageSize() {
    long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<uint64_t>(size) : 4096;
}

void MeminfoReader::findZramDevices() {
    zramFound_ = true;
    std::vector<std::string> paths;
    for (const auto& entry : DirectoryEntries(root_ + "/sys/block")) {
        std::string name = entry.path().filename().string();
        if (name.starts_with("zram")) paths.push_back(entry.path().string() + "/mm_stat");
    }
    std::sort(paths.begin(), paths.end());
    zram_.reserve(paths.size());
    for (std::string& path : paths) {
        zram_.push_back(std::make_unique<KernelFile>(std::move(path), kLargestAttribute));
    }
}

std::optional<VMStatistics> MeminfoReader::statistics() {
    if (!zramFound_) findZramDevices();
    std::optional<std::string_view> text = meminfo_.read();
    if (!text) return std::nullopt;
    std::optional<Meminfo> info = parseMeminfo(*text);
    if (!info) return std::nullopt;
    uint64_t zramBytes = 0;
    for (const std::unique_ptr<KernelFile>& file : zram_) {
        // A device being reset reads nothing for a moment; it simply holds no memory then.
        if (std::optional<std::string_view> mmStat = file->read()) {
            zramBytes += parseZramMemUsed(*mmStat).value_or(0);
        }
    }
    physicalMemory_ = info->memTotal * 1024;
    return toVMStatistics(*info, zramBytes, pageSize_);
}

}  // namespace glintdeck
