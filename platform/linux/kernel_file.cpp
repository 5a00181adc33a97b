#include "platform/linux/kernel_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace glintdeck {
namespace {

constexpr size_t kInitialCapacity = 4096;
// A read that returns less than asked and less than this has reached the end, so the read of
// nothing that would confirm it is skipped (it was half the system calls of a tick). Sysfs
// attributes and regular files return all that is left; a procfs file fills a kernel buffer of
// at least a page per read and stops short of it only at the end or where the next line would
// not fit, and no line of the files read here comes near half a page.
constexpr size_t kSurelyComplete = 2048;

}  // namespace

KernelFile::KernelFile(std::string path, size_t largest)
    : path_(std::move(path)), largest_(largest) {}

KernelFile::~KernelFile() { close(); }

void KernelFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::string_view> KernelFile::read() {
    if (fd_ < 0) {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return std::nullopt;
    }
    if (buffer_.empty()) buffer_.resize(std::min(kInitialCapacity, largest_));
    size_t length = 0;
    for (;;) {
        if (length == buffer_.size()) {
            if (buffer_.size() >= largest_) break;
            buffer_.resize(std::min(buffer_.size() * 2, largest_));
        }
        const size_t asked = buffer_.size() - length;
        ssize_t count = ::pread(fd_, buffer_.data() + length, asked, static_cast<off_t>(length));
        if (count < 0) {
            if (errno == EINTR) continue;
            close();
            return std::nullopt;
        }
        if (count == 0) break;
        length += static_cast<size_t>(count);
        const auto got = static_cast<size_t>(count);
        if (got < asked && got < kSurelyComplete) break;
    }
    return std::string_view(buffer_.data(), length);
}

std::optional<std::string> readKernelFileOnce(std::string path, size_t largest) {
    KernelFile file(std::move(path), largest);
    std::optional<std::string_view> text = file.read();
    if (!text) return std::nullopt;
    return std::string(*text);
}

}  // namespace glintdeck
