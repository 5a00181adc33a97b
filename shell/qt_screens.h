#pragma once

#include <QPoint>
#include <QRect>

#include "shell/placement/geometry.h"

namespace glintdeck {

// The screens, the pointer and window frames as the placement rules see them: screen
// coordinates (origin at the bottom-left of the primary screen, y upwards), converted from Qt's
// global coordinates. The screen list is Qt's, in its order; the main screen is the primary
// one; a visible frame is a screen's available geometry (minus panels and docks).

[[nodiscard]] ScreenLayout currentScreenLayout();
[[nodiscard]] Point pointerLocation();

// A window frame or place, Qt → screen coordinates and back.
[[nodiscard]] Rect screenRect(const QRect& qtRect);
[[nodiscard]] QPoint qtTopLeft(Point origin, Size size);

}  // namespace glintdeck
