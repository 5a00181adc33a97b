#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"

namespace glintdeck {

// A private, writable copy of a fixture tree (symbolic links kept as links), for tests that
// change a counter between two readings. Removed when it goes away.
class FixtureCopy final {
  public:
    explicit FixtureCopy(const std::string& name) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "glintdeck-fixture-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        root_ = pattern;
        std::filesystem::copy(fixtureRoot(name), root_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks);
    }
    ~FixtureCopy() {
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    FixtureCopy(const FixtureCopy&) = delete;
    FixtureCopy& operator=(const FixtureCopy&) = delete;

    [[nodiscard]] const std::string& root() const { return root_; }

    // Replaces a file's content, as the kernel would present a new value.
    void write(const std::string& relativePath, const std::string& content) const {
        std::ofstream(root_ + "/" + relativePath, std::ios::trunc) << content << "\n";
    }

  private:
    std::string root_;
};

}  // namespace glintdeck
