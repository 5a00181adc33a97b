#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"

namespace glintdeck {

// A writable copy of a fixture tree in a temporary folder, for tests in which a device changes
// state between ticks (a battery taken out, a card falling asleep). Removed when dropped.
class ScratchTree final {
  public:
    explicit ScratchTree(const std::string& fixture) {
        static std::atomic<int> counter = 0;
        root_ = std::filesystem::temp_directory_path() /
                ("glintdeck-" + fixture + "-" + std::to_string(getpid()) + "-" +
                 std::to_string(counter++));
        std::filesystem::remove_all(root_);
        std::filesystem::copy(fixtureRoot(fixture), root_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks);
    }
    ~ScratchTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    [[nodiscard]] std::string root() const { return root_.string(); }

    // Replaces a file's content, as the kernel does when an attribute changes.
    void write(const std::string& relativePath, const std::string& text) const {
        std::ofstream(root_ / relativePath, std::ios::trunc) << text;
    }

  private:
    std::filesystem::path root_;
};

}  // namespace glintdeck
