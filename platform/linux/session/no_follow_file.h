#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace glintdeck {

// The files we write (preferences, the autostart entry) live directly in folders of ours. They
// are reached only through their directory entry, never through a symbolic link standing where
// the file should be: whoever planted one (a link to /etc/passwd for a program run as root, or
// to one of the user's own files) would otherwise have us read it, rename it aside or replace
// it. A link there is left exactly as it is and reported as such. The folders leading to the
// entry are followed as usual (a dotfiles manager may link the whole folder). Only reading may
// go through a link at the entry, where the caller asks for it (readThroughLink).

// What an entry holds, when read.
struct NoFollowRead {
    enum class Status {
        ok,        // text holds the whole file
        absent,    // nothing at the entry
        symlink,   // a symbolic link stands there; not followed, nothing read
        failed,    // not a regular file, or unreadable
        tooLarge,  // larger than the limit; text is empty
    };
    Status status = Status::absent;
    std::string text;
};

// Reads the regular file at path, at most limit bytes. Never waits on a pipe put there.
[[nodiscard]] NoFollowRead readNoFollow(const std::string& path, size_t limit);

// The same, through a symbolic link standing at path (never symlink): for a file of the user's
// that a dotfiles manager linked there, which is then never written.
[[nodiscard]] NoFollowRead readThroughLink(const std::string& path, size_t limit);

// Replaces the file at path by text atomically: a temporary file created exclusively in the same
// folder (its parents made 0700 when missing), flushed, renamed over the entry, and the folder
// synced, so a crash or a full disk leaves the old or the new file, never a torn one. An existing
// file keeps its permissions; a new one gets newFileMode. 0 on success, else an errno value:
// ELOOP when a symbolic link stands at path (it is left as it is).
[[nodiscard]] int replaceNoFollow(const std::string& path, std::string_view text,
                                  mode_t newFileMode);

// Renames the entry at path to newName in the same folder, never replacing anything there.
// 0 or an errno value (EEXIST when newName is taken).
[[nodiscard]] int renameAsideNoFollow(const std::string& path, const std::string& newName);

// Removes the file at path; nothing there is no error. ELOOP when a symbolic link stands there
// (it is left as it is), else 0 or an errno value.
[[nodiscard]] int removeNoFollow(const std::string& path);

// Deletes the temporary files that replacements of path killed midway left in its folder.
void removeStaleTemporaries(const std::string& path);

// "<path>: <reason>" for a message, saying plainly when the reason is a symbolic link.
[[nodiscard]] std::string describeNoFollowError(const std::string& path, int error);

}  // namespace glintdeck
