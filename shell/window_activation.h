#pragma once

#include <cstdint>
#include <optional>

#include "shell/summon_request.h"

class QWidget;

namespace glintdeck {

// Shows an ordinary window (the settings window) and gives it the keyboard on behalf of a user
// action that happened elsewhere, such as a global hot key. Window managers refuse focus
// requests that carry no recent user timestamp (focus-stealing prevention), and Qt never saw
// the hot key's event, so the request carries the action's X timestamp: as the window's
// _NET_WM_USER_TIME and in a _NET_ACTIVE_WINDOW request. Without a window manager the focus is
// set directly. Without X, Qt's own activation is used.
void activateWindow(QWidget& window, std::optional<uint32_t> userTimestamp);

// The same for a floating panel summoned in a Wayland session, in two steps around its first
// show. The reason given is the request's activation token where the desktop passed one: it
// becomes the window's startup id, announced as complete once the window is up (how compositors
// hosting XWayland accept their tokens from X11 windows), and its "_TIME" suffix, if any, the
// timestamp. Otherwise the reason is the X timestamp of the key press, where there was one.
void prepareSummonActivation(QWidget& window, const SummonRequest& request);
void activateSummonedWindow(QWidget& window, const SummonRequest& request);

}  // namespace glintdeck
