#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"

namespace glintdeck {

// A private, writable copy of a fixture tree (symbolic links kept as links) in a temporary
// folder, for tests in which the machine changes between readings. Removed when it goes away.
class FixtureTree final {
  public:
    explicit FixtureTree(const std::string& fixture) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "glintdeck-fixture-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        root_ = pattern;
        overlay(fixture);
    }
    ~FixtureTree() {
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    [[nodiscard]] const std::string& root() const { return root_; }

    // Copies another fixture tree's files over this one, as when a device comes or goes.
    void overlay(const std::string& fixture) const {
        std::filesystem::copy(fixtureRoot(fixture), root_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks |
                                  std::filesystem::copy_options::overwrite_existing);
    }

    // Replaces a file's content, as the kernel does when an attribute changes: exactly the text
    // given, or one line of it.
    void write(const std::string& relativePath, const std::string& text) const {
        std::ofstream(root_ + "/" + relativePath, std::ios::trunc) << text;
    }
    void writeLine(const std::string& relativePath, const std::string& line) const {
        write(relativePath, line + "\n");
    }

  private:
    std::string root_;
};

}  // namespace glintdeck
