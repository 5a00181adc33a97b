#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// A kernel file read every tick: the descriptor stays open and each read starts again at offset
// 0 with pread, a quarter of the cost of reopening. A failed read closes the descriptor so the
// next read reopens the file (a device that went away and came back).
class KernelFile final {
  public:
    explicit KernelFile(std::string path);
    ~KernelFile();

    KernelFile(const KernelFile&) = delete;
    KernelFile& operator=(const KernelFile&) = delete;

    // The whole content, or nothing when the file cannot be read. The view stays valid until
    // the next read.
    [[nodiscard]] std::optional<std::string_view> read();

    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    void close();

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
};

}  // namespace glintdeck
