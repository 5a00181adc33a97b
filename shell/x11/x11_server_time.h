#pragma once

#include <cstdint>
#include <optional>

namespace glintdeck::x11 {

// The X server's clock now, in its 32-bit milliseconds: what a focus request made on behalf of a
// press just reported by something other than the X server (the desktop portal) can carry.
// Absent when the application does not run on X. One round trip to the server, on a connection
// of its own: the answer is an event, and the events of Qt's connection are Qt's to read.
[[nodiscard]] std::optional<uint32_t> serverTime();

}  // namespace glintdeck::x11
