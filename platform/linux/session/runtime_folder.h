#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// The path for a socket named name in a folder that only the current user can enter: another
// account that could create or reach a socket there could take our place or drive us. The
// session's $XDG_RUNTIME_DIR when it is one (the login manager makes it, mode 0700) and the path
// fits a socket address, else fallback, made 0700 when missing. Nothing when neither serves
// (fallback made first by another account, open to others, or the path still too long).
[[nodiscard]] std::optional<std::string> privateSocketPath(
    std::optional<std::string_view> xdgRuntimeDir, const std::string& fallback,
    std::string_view name);

// Whether path, with its terminating NUL, fits a Unix socket address (108 bytes).
[[nodiscard]] bool fitsSocketAddress(std::string_view path);

// /tmp/glintdeck-<uid>, for sessions without $XDG_RUNTIME_DIR (a console login, su, a test).
[[nodiscard]] std::string fallbackRuntimeFolder();

// Whether path is a folder (not a link to one) of the current user that no one else can enter.
[[nodiscard]] bool isPrivateFolder(const std::string& path);

}  // namespace glintdeck
