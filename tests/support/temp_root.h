#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "tests/support/fixtures.h"

namespace glintdeck {

// A writable copy of a fixture tree, for tests where the machine changes between readings:
// overlay() copies another fixture tree's files over it. Removed with the object.
class TempRoot final {
  public:
    explicit TempRoot(const std::string& fixture) {
        static std::atomic<int> counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("glintdeck-root-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::copy(fixtureRoot(fixture), path_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks);
    }
    ~TempRoot() { std::filesystem::remove_all(path_); }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    void overlay(const std::string& fixture) {
        std::filesystem::copy(fixtureRoot(fixture), path_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks |
                                  std::filesystem::copy_options::overwrite_existing);
    }

    [[nodiscard]] std::string path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace glintdeck
