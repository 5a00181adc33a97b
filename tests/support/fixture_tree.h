#pragma once

#include <filesystem>
#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {

// A private, writable copy of a fixture tree (symbolic links kept as links), for tests in which
// the machine changes between readings.
class FixtureTree final : public ScratchFolder {
  public:
    explicit FixtureTree(const std::string& fixture) { overlay(fixture); }

    // Copies another fixture tree's files over this one, as when a device comes or goes.
    void overlay(const std::string& fixture) const {
        std::filesystem::copy(fixtureRoot(fixture), path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks |
                                  std::filesystem::copy_options::overwrite_existing);
    }
};

}  // namespace glintdeck
