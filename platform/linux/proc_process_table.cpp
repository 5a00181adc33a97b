#include "platform/linux/proc_process_table.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

namespace glintdeck {
namespace {

// A stat line is a few hundred bytes; so is any path the kernel prints for an executable.
constexpr size_t kStatCapacity = 4096;
constexpr size_t kPathCapacity = 4096;
// The kernel's mark on the path of an executable that was deleted or replaced since it started
// (an upgrade): the program is still the one at that path.
constexpr std::string_view kDeletedMark = " (deleted)";
constexpr std::string_view kMemoryFileMark = "/memfd:";

void closeFile(int& file) {
    if (file >= 0) ::close(file);
    file = -1;
}

// "PID/leaf" in a stack buffer: no formatting, no allocation.
struct RelativePath {
    std::array<char, 32> text{};
    RelativePath(int32_t pid, std::string_view leaf) {
        char* end = std::to_chars(text.data(), text.data() + 11, pid).ptr;
        *end++ = '/';
        end = std::copy(leaf.begin(), leaf.end(), end);
        *end = '\0';
    }
};

std::optional<int32_t> parsePid(const char* name) {
    int32_t pid = 0;
    const char* end = name + std::strlen(name);
    auto [stop, error] = std::from_chars(name, end, pid);
    if (error != std::errc{} || stop != end || pid <= 0) return std::nullopt;
    return pid;
}

}  // namespace

ProcProcessTable::Units ProcProcessTable::Units::ofThisSystem() {
    Units units;
    if (long ticks = sysconf(_SC_CLK_TCK); ticks > 0) {
        units.ticksPerSecond = static_cast<double>(ticks);
    }
    if (long page = sysconf(_SC_PAGESIZE); page > 0) units.pageSize = static_cast<double>(page);
    return units;
}

ProcProcessTable::ProcProcessTable(const std::string& root, std::shared_ptr<const Clock> clock,
                                   Units units, size_t keptFileLimit)
    : procPath_(root + "/proc"),
      clock_(std::move(clock)),
      units_(units),
      keptFileLimit_(keptFileLimit),
      buffer_(kStatCapacity) {}

ProcProcessTable::~ProcProcessTable() { reset(); }

void ProcProcessTable::reset() {
    for (Known& known : previous_) closeFile(known.file);
    previous_.clear();
    previousTime_.reset();
    if (directory_) closedir(directory_);
    directory_ = nullptr;
}

bool ProcProcessTable::listProcesses() {
    if (!directory_) {
        directory_ = opendir(procPath_.c_str());
        if (!directory_) return false;
    } else {
        // Listing /proc again from the start lists the processes of this moment.
        rewinddir(directory_);
    }
    pids_.clear();
    while (dirent* entry = readdir(directory_)) {
        if (std::optional<int32_t> pid = parsePid(entry->d_name)) pids_.push_back(*pid);
    }
    // /proc lists in pid order already; a plain directory (a fixture) need not.
    std::sort(pids_.begin(), pids_.end());
    return true;
}

int ProcProcessTable::openInProc(int32_t pid, std::string_view leaf) {
    RelativePath path(pid, leaf);
    return openat(dirfd(directory_), path.text.data(), O_RDONLY | O_CLOEXEC);
}

std::optional<ProcPidStat> ProcProcessTable::readStat(int32_t pid, int& file) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool reopened = file < 0;
        if (reopened) {
            file = openInProc(pid, "stat");
            if (file < 0) return std::nullopt;  // gone since the listing
        }
        ssize_t length;
        do {
            length = pread(file, buffer_.data(), buffer_.size(), 0);
        } while (length < 0 && errno == EINTR);
        if (length > 0 && static_cast<size_t>(length) < buffer_.size()) {
            std::optional<ProcPidStat> stat =
                parseProcPidStat(std::string_view(buffer_.data(), static_cast<size_t>(length)));
            if (stat && stat->pid == pid) return stat;
        }
        closeFile(file);
        // A kept file of a process that has ended fails to read; its pid may already belong
        // to a new process, which a fresh open finds.
        if (reopened) return std::nullopt;
    }
    return std::nullopt;
}

ScanResult ProcProcessTable::scan(std::vector<ProcessRow>& rows) {
    double now = clock_->secondsSinceBoot();
    if (!listProcesses()) return ScanResult::unreadable;
    bool measuring = previousTime_ && now > *previousTime_;
    double percentPerTick =
        measuring ? 100.0 / (units_.ticksPerSecond * (now - *previousTime_)) : 0.0;

    current_.clear();
    size_t count = 0;
    size_t kept = 0;
    auto before = previous_.begin();
    for (int32_t pid : pids_) {
        // Processes of the previous scan that are no longer listed have ended.
        for (; before != previous_.end() && before->pid < pid; ++before) closeFile(before->file);
        const Known* known = nullptr;
        int file = -1;
        if (before != previous_.end() && before->pid == pid) {
            known = &*before;
            file = std::exchange(before->file, -1);
            ++before;
        }
        std::optional<ProcPidStat> stat = readStat(pid, file);
        if (!stat) continue;

        uint64_t ticks = stat->utime + stat->stime;
        uint64_t busy = ticks;
        if (known && known->startTime == stat->startTime) {
            busy = ticks > known->cpuTicks ? ticks - known->cpuTicks : 0;
        }
        if (file >= 0 && kept >= keptFileLimit_) closeFile(file);
        if (file >= 0) ++kept;
        current_.push_back(
            Known{.pid = pid, .startTime = stat->startTime, .cpuTicks = ticks, .file = file});

        if (count == rows.size()) rows.emplace_back();
        ProcessRow& row = rows[count++];
        row.id = ProcessIdentity{.pid = pid, .startTime = stat->startTime};
        row.cpuPercent = static_cast<double>(busy) * percentPerTick;
        row.memoryBytes = static_cast<double>(stat->residentPages) * units_.pageSize;
        row.command.assign(stat->comm);
        row.image = stat->image;
    }
    for (; before != previous_.end(); ++before) closeFile(before->file);
    rows.resize(count);
    std::swap(previous_, current_);
    previousTime_ = now;
    return measuring ? ScanResult::measured : ScanResult::baseline;
}

std::string ProcProcessTable::executablePath(const ProcessRow& row) {
    if (!directory_) return {};
    std::array<char, kPathCapacity> target{};
    RelativePath path(row.id.pid, "exe");
    ssize_t length = readlinkat(dirfd(directory_), path.text.data(), target.data(), target.size());
    // Kernel threads have no executable; other users' processes refuse to show theirs. A
    // path that fills the buffer may be cut short.
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return {};
    std::string_view text(target.data(), static_cast<size_t>(length));
    // A program run from a memory file (memfd_create, as JIT engines and packers do) has no
    // path; its "/memfd:<label>" would only show the label it chose. Its command names it.
    if (text.starts_with(kMemoryFileMark)) return {};
    if (text.ends_with(kDeletedMark)) text.remove_suffix(kDeletedMark.size());
    return std::string(text);
}

}  // namespace glintdeck
