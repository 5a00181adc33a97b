#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// Startup notification, the freedesktop.org protocol by which an X11 client tells the desktop
// that the user action identified by a startup id has produced its window. In Wayland sessions
// a desktop's activation tokens are such ids (the X11 interoperation of xdg-activation): a
// window that carries the token in _NET_STARTUP_ID and announces it with a "remove" message may
// take the keyboard where a request without a reason would be refused. These are the protocol's
// texts; window_activation.h sends them.

// The "remove" message for a startup id; the value is quoted, with its quotes and backslashes
// escaped, where it holds a space, a quote or a backslash.
[[nodiscard]] std::string startupRemoveMessage(std::string_view id);

// A message as the protocol sends it: its bytes and a terminating NUL in pieces of 20 bytes,
// one client message each, the last padded with NULs.
[[nodiscard]] std::vector<std::array<char, 20>> startupMessagePieces(std::string_view message);

// The X server time an id carries in its "_TIME<digits>" suffix: when the user acted.
[[nodiscard]] std::optional<uint32_t> startupTimestamp(std::string_view id);

}  // namespace glintdeck
