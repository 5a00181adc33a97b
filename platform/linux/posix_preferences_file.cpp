#include "platform/linux/posix_preferences_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "settings/app_settings.h"
#include "settings/preferences_path.h"

namespace glintdeck {
namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";
// Links that loop, or chains longer than this, are not followed.
constexpr int kMostSymlinkHops = 8;

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// mkdir -p with mode 0700 for each folder created, as the XDG base directory rules ask.
bool makeFolders(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
    std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes a finished rename durable; a failure here cannot undo it, so it is not reported.
void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string utcStamp(std::time_t time) {
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    char text[32];
    size_t length = std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return std::string(text, length);
}

// rename that never replaces an existing file.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse to replace; check first (the window is ours alone).
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0 || errno != ENOENT) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::string> homeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir) {
        return std::string(result->pw_dir);
    }
    return std::nullopt;
}

std::optional<std::string_view> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string_view(value);
}

}  // namespace

PosixPreferencesFile::PosixPreferencesFile(std::string path, std::function<std::time_t()> now)
    : path_(std::move(path)), now_(now ? std::move(now) : [] { return std::time(nullptr); }) {}

std::string PosixPreferencesFile::target() const {
    std::string current = path_;
    for (int hop = 0; hop < kMostSymlinkHops; ++hop) {
        std::vector<char> link(4096);
        ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) return current;
        std::string next(link.data(), static_cast<size_t>(length));
        current = next.front() == '/' ? next : folderOf(current) + "/" + next;
    }
    return current;
}

PreferencesFile::Contents PosixPreferencesFile::read() {
    // Without O_NONBLOCK, opening a pipe put at the path would wait for a writer forever.
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        // A dangling link is a file that is not there yet.
        return {errno == ENOENT ? ReadStatus::absent : ReadStatus::failed, {}};
    }
    Contents contents{ReadStatus::ok, {}};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        contents.status = ReadStatus::failed;
    } else if (static_cast<uint64_t>(status.st_size) > kLargestFile) {
        contents.status = ReadStatus::tooLarge;
    } else {
        // Read to the end, not to st_size: the file may grow meanwhile, and some report 0.
        char buffer[16384];
        for (;;) {
            ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) contents.status = ReadStatus::failed;
            if (count <= 0) break;
            contents.text.append(buffer, static_cast<size_t>(count));
            if (contents.text.size() > kLargestFile) {
                contents.status = ReadStatus::tooLarge;
                break;
            }
        }
    }
    ::close(fd);
    if (contents.status != ReadStatus::ok) contents.text.clear();
    return contents;
}

bool PosixPreferencesFile::replace(std::string_view text) {
    std::string destination = target();
    std::string folder = folderOf(destination);
    if (!makeFolders(folder)) return false;

    std::string temporary = destination + std::string(kTemporaryInfix) + "XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // mode 0600
    if (fd < 0) return false;
    struct stat old {};
    if (::stat(destination.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

    bool stored = writeAll(fd, text) && ::fsync(fd) == 0;
    stored = ::close(fd) == 0 && stored;
    stored = stored && ::rename(temporary.c_str(), destination.c_str()) == 0;
    if (!stored) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

std::optional<std::string> PosixPreferencesFile::setAside() {
    std::string source = target();
    std::string base = source + ".corrupt-" + utcStamp(now_());
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (renameWithoutReplacing(source, candidate)) {
            syncFolder(folderOf(source));
            return candidate;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

void PosixPreferencesFile::removeStaleTemporaries() {
    std::string destination = target();
    std::string folder = folderOf(destination);
    std::string prefix = nameOf(destination) + std::string(kTemporaryInfix);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return;
    while (dirent* entry = ::readdir(directory)) {
        std::string_view name = entry->d_name;
        if (name.starts_with(prefix)) ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

std::unique_ptr<PreferencesStore> openStandardPreferences(PreferencesStore::Mode mode) {
    auto home = homeFolder();
    auto path =
        standardPreferencesPath(environment("XDG_CONFIG_HOME"),
                                home ? std::optional<std::string_view>(*home) : std::nullopt);
    if (!path) return nullptr;
    auto file = std::make_unique<PosixPreferencesFile>(*path);
    if (mode == PreferencesStore::Mode::readWrite) file->removeStaleTemporaries();
    return std::make_unique<PreferencesStore>(std::move(file), mode);
}

void useStandardPreferences(PreferencesStore::Mode mode) {
    AppSettings::setSharedStoreOpener([mode] { return openStandardPreferences(mode); });
}

}  // namespace glintdeck
