#pragma once

#include <cstdint>
#include <string_view>

struct xcb_connection_t;

namespace glintdeck::x11 {

// Qt's own connection to the X server. Every X11 helper of the shell talks through it, so
// replies, errors and events all pass through Qt's event loop and our native event filters.
// Null when the application runs on another Qt platform (offscreen tests, Wayland without
// XWayland); callers then leave their feature inactive.
[[nodiscard]] xcb_connection_t* connection();

// Whether an X server answers at $DISPLAY, asked on a connection of its own before Qt starts
// (Qt aborts when its display cannot be opened).
[[nodiscard]] bool displayReachable();

// The root window of the screen Qt connected to; 0 without a connection.
[[nodiscard]] uint32_t rootWindow();

// The screen number of DISPLAY, as in _NET_WM_CM_S<n>.
[[nodiscard]] int screenNumber();

// Waits until the server has processed every request sent so far on Qt's connection. Other
// clients are served in their own order, so whatever must be true for them when a call returns
// (a key released again) needs this.
void sync();

// The atom of a name, interned once per name and cached; 0 without a connection.
[[nodiscard]] uint32_t atom(std::string_view name);

}  // namespace glintdeck::x11
