#pragma once

#include <cstdint>
#include <optional>

class QWidget;

namespace glintdeck {

// Shows an ordinary window (the settings window) and gives it the keyboard on behalf of a user
// action that happened elsewhere, such as a global hot key. Window managers refuse focus
// requests that carry no recent user timestamp (focus-stealing prevention), and Qt never saw
// the hot key's event, so the request carries the action's X timestamp: as the window's
// _NET_WM_USER_TIME and in a _NET_ACTIVE_WINDOW request. Without a window manager the focus is
// set directly. Without X, Qt's own activation is used.
void activateWindow(QWidget& window, std::optional<uint32_t> userTimestamp);

}  // namespace glintdeck
