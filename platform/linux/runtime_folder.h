#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// A folder that only the current user can enter, for our sockets: another account that could
// create or reach a socket there could take our place or drive us. The session's
// $XDG_RUNTIME_DIR when it is one (the login manager makes it, mode 0700), else fallback, made
// 0700 when missing. Nothing when neither is private (fallback made first by another account,
// or open to others).
[[nodiscard]] std::optional<std::string> privateRuntimeFolder(
    std::optional<std::string_view> xdgRuntimeDir, const std::string& fallback);

// /tmp/glintdeck-<uid>, for sessions without $XDG_RUNTIME_DIR (a console login, su, a test).
[[nodiscard]] std::string fallbackRuntimeFolder();

// Whether path is a folder (not a link to one) of the current user that no one else can enter.
[[nodiscard]] bool isPrivateFolder(const std::string& path);

}  // namespace glintdeck
