#pragma once

#include <string_view>

#include "platform/linux/session/session_kind.h"

class QWidget;

namespace glintdeck {

// The floating panels (strip, detail card, first-run hint) are top-level widgets that float
// above ordinary windows on every desktop and stay out of task bars and pagers. In X11 sessions
// they never take the keyboard from the application the user is typing in; in Wayland sessions
// the strip accepts it (see SessionKind).

// Which panel a window is: the strip, or one that accompanies it (the detail card, the hint).
// In a Wayland session a companion is placed by the program alone, past the window manager
// (override-redirect): compositors that place floating X11 windows themselves (sway centres every
// one) would put it over the strip. It never takes the keyboard there; the strip keeps it.
enum class PanelRole { strip, companion };

// Window flags and attributes of a floating panel; call once, before the window is first shown.
void makeFloatingPanel(QWidget& window, SessionKind session = SessionKind::x11,
                       PanelRole role = PanelRole::strip);

// Names the window for window managers and tools (WM_NAME and WM_CLASS instance and class).
void nameFloatingPanel(QWidget& window, std::string_view title, std::string_view windowClass);

// Shows a hidden panel (or raises a shown one); in X11 sessions without activating it. Window
// managers drop _NET_WM_DESKTOP and _NET_WM_STATE when a window is withdrawn, so both are written
// again before every map: all desktops, sticky, above, skip task bar, skip pager.
void showFloatingPanel(QWidget& window);

}  // namespace glintdeck
