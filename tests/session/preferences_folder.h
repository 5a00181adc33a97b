#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/session/posix_preferences_file.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {

// A folder for the real preferences file, and stores over that file whose warnings the test
// collects. An unusable file is kept aside as kKept: the stores' clock stands at
// 2024-01-02 03:04:05 UTC.
class PreferencesFolderTest : public testing::Test {
  protected:
    static constexpr const char* kKept = "defaults.json.corrupt-20240102T030405Z";

    [[nodiscard]] std::filesystem::path folder() const { return scratch_.path() / "glintdeck"; }
    [[nodiscard]] std::string path() const { return (folder() / "defaults.json").string(); }
    void put(const std::string& text) const { scratch_.write("glintdeck/defaults.json", text); }
    [[nodiscard]] std::vector<std::string> names() const { return scratch_.names("glintdeck"); }
    std::unique_ptr<PreferencesStore> open(
        PreferencesStore::Mode mode = PreferencesStore::Mode::readWrite,
        std::vector<std::string>* warnings = nullptr) const {
        return std::make_unique<PreferencesStore>(
            std::make_unique<PosixPreferencesFile>(path(), [] { return std::time_t{1704164645}; }),
            mode, [warnings](const std::string& line) {
                if (warnings) warnings->push_back(line);
            });
    }

    ScratchFolder scratch_;
};

}  // namespace glintdeck
