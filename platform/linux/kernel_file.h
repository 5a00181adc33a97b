#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// The most a kernel file is read of. A sysfs attribute's show() fills one page at most, so a
// larger file in a sysfs tree is no real attribute, and its first page is all that is read.
// Procfs tables grow with the machine (a line per processor, per disk, per route).
inline constexpr size_t kLargestAttribute = 4096;
inline constexpr size_t kLargestProcFile = 4 << 20;

// A kernel file read every tick: the descriptor stays open and each read starts again at offset
// 0 with pread, a quarter of the cost of reopening. A failed read closes the descriptor so the
// next read reopens the file (a device that went away and came back).
class KernelFile final {
  public:
    // largest: kLargestAttribute for sysfs attributes.
    explicit KernelFile(std::string path, size_t largest = kLargestProcFile);
    ~KernelFile();

    KernelFile(const KernelFile&) = delete;
    KernelFile& operator=(const KernelFile&) = delete;

    // The whole content up to the largest size, or nothing when the file cannot be read. The
    // view stays valid until the next read.
    [[nodiscard]] std::optional<std::string_view> read();

    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    void close();

    std::string path_;
    size_t largest_;
    int fd_ = -1;
    std::string buffer_;
};

// One read of a file that is not read again (a discovery's), at most largest bytes.
[[nodiscard]] std::optional<std::string> readKernelFileOnce(std::string path, size_t largest);

}  // namespace glintdeck
