#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// The one file that holds the preferences, as the store sees it: read it whole, replace it
// whole, or move it out of the way. The real file lives in platform/linux; tests use a fake.
class PreferencesFile {
  public:
    // Our file holds a few kilobytes. One far larger is not ours: parsing it would stall every
    // launch, and every assignment would write all of it again.
    static constexpr size_t kLargestFile = 256 << 10;

    enum class ReadStatus {
        ok,        // text holds the whole file
        absent,    // no file yet: a first launch
        failed,    // it exists but could not be read (permissions, I/O error, a folder, a pipe)
        tooLarge,  // it holds more than kLargestFile bytes, which were not read; text is empty
    };
    struct Contents {
        ReadStatus status = ReadStatus::absent;
        std::string text;
        // A symbolic link stands where the file should be, and status and text are of what it
        // points to: a file the user keeps elsewhere, never to be replaced or renamed.
        bool throughLink = false;
    };

    virtual ~PreferencesFile() = default;

    [[nodiscard]] virtual Contents read() = 0;

    // Replaces the file by text atomically: whatever happens, even the process being killed or
    // the disk filling up, the file afterwards holds either its old content or text, never a mix.
    // False when text was not stored.
    [[nodiscard]] virtual bool replace(std::string_view text) = 0;

    // Renames the file to a name of its own that no other file has, so that a file we cannot
    // understand is kept for the user and never overwritten. The new path, or nothing when the
    // rename failed.
    [[nodiscard]] virtual std::optional<std::string> setAside() = 0;

    // Where the file lives, for messages.
    [[nodiscard]] virtual std::string path() const = 0;
};

}  // namespace glintdeck
