#pragma once

namespace glintdeck {

// Where the program's X11 windows live, as far as the shell must behave differently.
//
// x11: an X11 session. Global grabs see every key, XInput 2 sees every click and the pointer is
// always known, so the floating panels never take the keyboard.
//
// wayland: XWayland inside a Wayland session. The server sees neither keys typed into nor clicks
// made on native windows, nor the pointer over them. So the strip takes the keyboard when it
// appears (Esc reaches it, and focus moving elsewhere says the user turned away), and "under the
// pointer" cannot be honoured.
enum class SessionKind { x11, wayland };

}  // namespace glintdeck
