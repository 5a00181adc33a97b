#pragma once

namespace glintdeck {

// Where no D-Bus session bus runs (no DBUS_SESSION_BUS_ADDRESS, no user bus socket
// $XDG_RUNTIME_DIR/bus), gives libdbus an address that fails at once. Otherwise the first
// user of the bus, the appearance portal or Qt's accessibility bridge on the first widget,
// makes libdbus autolaunch a bus daemon for the X display: start-up waits a quarter of a
// second for it, and it stays behind with neither a portal nor a screen reader on it.
// Call before anything connects to the bus; a running bus is left alone.
void keepSessionBusFromAutolaunching();

}  // namespace glintdeck
