#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/preferences_file.h"
#include "settings/preferences_store.h"

namespace glintdeck {

// The preferences file on disk. A replacement goes to a temporary file in the same folder
// (created 0700 with its parents when missing), is flushed with fsync and renamed over the old
// file, then the folder is synced, so a crash or a full disk at any moment leaves the old or the
// new file, never a torn one. The old file's permissions are kept. A symbolic link standing
// where the file should be is read through, and never written through, renamed or replaced (see
// no_follow_file.h).
class PosixPreferencesFile final : public PreferencesFile {
  public:
    // now gives the time whose UTC form names a file set aside; the wall clock by default.
    explicit PosixPreferencesFile(std::string path, std::function<std::time_t()> now = {});

    [[nodiscard]] Contents read() override;
    [[nodiscard]] bool replace(std::string_view text) override;
    // Renames to "<name>.corrupt-<YYYYMMDDTHHMMSSZ>", adding "-2", "-3"... when that is taken.
    [[nodiscard]] std::optional<std::string> setAside() override;
    [[nodiscard]] std::string path() const override { return path_; }

    // Deletes the temporary files of replacements that were killed midway. Only the one process
    // that writes the preferences may call it.
    void removeStaleTemporaries();

  private:
    std::string path_;
    std::function<std::time_t()> now_;
};

// The standard preferences file ($XDG_CONFIG_HOME/glintdeck/defaults.json) opened as a store;
// in read-write mode stale temporary files are removed first. Nothing when no home folder can be
// found.
[[nodiscard]] std::unique_ptr<PreferencesStore> openStandardPreferences(
    PreferencesStore::Mode mode);

// Makes AppSettings::shared() open the standard preferences file in the given mode.
void useStandardPreferences(PreferencesStore::Mode mode);

}  // namespace glintdeck
