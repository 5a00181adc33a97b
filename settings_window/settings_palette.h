#pragma once

#include <QPalette>

#include "settings/color.h"

namespace glintdeck {

// The palette the settings window uses in the desktop's appearance: the application's own when
// it already matches (a desktop whose Qt theme follows dark mode), otherwise a dark or light
// palette of our own, since Qt's default palette stays light on desktops that do not tell it.
[[nodiscard]] QPalette settingsPalette(Appearance appearance, const QPalette& application);

}  // namespace glintdeck
