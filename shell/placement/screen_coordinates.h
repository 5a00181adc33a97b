#pragma once

#include "shell/placement/geometry.h"

namespace glintdeck {

// The one conversion between Qt's global coordinates (origin at the top-left of the virtual
// desktop, y growing downwards, a rectangle's origin its top-left corner) and screen
// coordinates (origin at the bottom-left of the primary screen, y upwards, origin bottom-left).
// Rectangles in Qt coordinates use the same Rect record, read as (left, top, width, height).
// primaryQt is the primary screen's geometry in Qt coordinates. A point is a pixel: its screen
// coordinates are those of the pixel's bottom-left corner.

[[nodiscard]] Rect screenRectFromQt(Rect qtRect, Rect primaryQt);
[[nodiscard]] Rect qtRectFromScreen(Rect rect, Rect primaryQt);
[[nodiscard]] Point screenPointFromQt(Point qtPoint, Rect primaryQt);
[[nodiscard]] Point qtPointFromScreen(Point point, Rect primaryQt);

}  // namespace glintdeck
