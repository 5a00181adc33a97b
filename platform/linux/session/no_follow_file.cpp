#include "platform/linux/session/no_follow_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace glintdeck {
namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";

// A descriptor closed when it goes out of scope.
class Descriptor final {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    // Closes now, for a close whose error matters; false when it failed.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

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
    if (::stat(folder.c_str(), &status) == 0) {
        errno = ENOTDIR;
        return S_ISDIR(status.st_mode);
    }
    std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

int openFolder(const std::string& folder) {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool isSymlinkIn(int folder, const std::string& name) {
    struct stat status {};
    return ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
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

// A new file of a name nobody can have prepared: random, and created exclusively, so a link or
// a file planted under a guessed name makes us pick another rather than write through it.
int createTemporary(int folder, const std::string& name, mode_t mode, std::string& temporary) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = name + std::string(kTemporaryInfix);
        for (int i = 0; i < 6; ++i) temporary += kLetters[arc4random_uniform(sizeof kLetters - 1)];
        int fd = ::openat(folder, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Reads the regular file that open(path, flags) reaches, at most limit bytes.
NoFollowRead readRegular(const std::string& path, size_t limit, int flags) {
    using Status = NoFollowRead::Status;
    // O_NONBLOCK keeps a pipe from waiting for a writer forever.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags));
    if (fd.get() < 0) {
        if (errno == ENOENT) return {Status::absent, {}};
        struct stat status {};
        bool link =
            errno == ELOOP && ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
        return {link && (flags & O_NOFOLLOW) ? Status::symlink : Status::failed, {}};
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return {Status::failed, {}};
    if (static_cast<uint64_t>(status.st_size) > limit) return {Status::tooLarge, {}};
    NoFollowRead contents{Status::ok, {}};
    // Read to the end, not to st_size: the file may grow meanwhile, and some report 0.
    char buffer[16384];
    for (;;) {
        ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return {Status::failed, {}};
        if (count == 0) return contents;
        contents.text.append(buffer, static_cast<size_t>(count));
        if (contents.text.size() > limit) return {Status::tooLarge, {}};
    }
}

}  // namespace

NoFollowRead readNoFollow(const std::string& path, size_t limit) {
    // O_NOFOLLOW refuses a link at the entry itself.
    return readRegular(path, limit, O_NOFOLLOW);
}

NoFollowRead readThroughLink(const std::string& path, size_t limit) {
    return readRegular(path, limit, 0);
}

int replaceNoFollow(const std::string& path, std::string_view text, mode_t newFileMode) {
    std::string folderPath = folderOf(path);
    if (!makeFolders(folderPath)) return errno;
    Descriptor folder(openFolder(folderPath));
    if (folder.get() < 0) return errno;
    std::string name = nameOf(path);
    struct stat old {};
    bool exists = ::fstatat(folder.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISLNK(old.st_mode)) return ELOOP;

    std::string temporary;
    Descriptor fd(createTemporary(folder.get(), name, 0600, temporary));
    if (fd.get() < 0) return errno;
    // Set after creating, so the umask does not narrow the mode the file had.
    ::fchmod(fd.get(), exists ? old.st_mode & 07777 : newFileMode);
    int error = writeAll(fd.get(), text) && ::fsync(fd.get()) == 0 ? 0 : errno;
    if (!fd.close() && error == 0) error = errno;
    // rename acts on the entry itself: a link planted there meanwhile is replaced, not followed.
    if (error == 0 &&
        ::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        return error;
    }
    // Makes the rename durable; a failure here cannot undo it, so it is not reported.
    ::fsync(folder.get());
    return 0;
}

int renameAsideNoFollow(const std::string& path, const std::string& newName) {
    Descriptor folder(openFolder(folderOf(path)));
    if (folder.get() < 0) return errno;
    std::string name = nameOf(path);
    if (::renameat2(folder.get(), name.c_str(), folder.get(), newName.c_str(), RENAME_NOREPLACE) !=
        0) {
        if (errno != EINVAL && errno != ENOSYS) return errno;
        // The file system cannot refuse to replace; check first (the folder is ours alone).
        struct stat status {};
        if (::fstatat(folder.get(), newName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
            return EEXIST;
        }
        if (::renameat(folder.get(), name.c_str(), folder.get(), newName.c_str()) != 0) {
            return errno;
        }
    }
    ::fsync(folder.get());
    return 0;
}

int removeNoFollow(const std::string& path) {
    Descriptor folder(openFolder(folderOf(path)));
    if (folder.get() < 0) return errno == ENOENT ? 0 : errno;
    std::string name = nameOf(path);
    if (isSymlinkIn(folder.get(), name)) return ELOOP;
    if (::unlinkat(folder.get(), name.c_str(), 0) != 0 && errno != ENOENT) return errno;
    return 0;
}

void removeStaleTemporaries(const std::string& path) {
    std::string prefix = nameOf(path) + std::string(kTemporaryInfix);
    DIR* directory = ::opendir(folderOf(path).c_str());
    if (!directory) return;
    while (dirent* entry = ::readdir(directory)) {
        std::string_view name = entry->d_name;
        if (name.starts_with(prefix)) ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

std::string describeNoFollowError(const std::string& path, int error) {
    if (error == ELOOP) return path + " is a symbolic link, which is never followed; left as it is";
    return path + ": " + std::strerror(error);
}

}  // namespace glintdeck
