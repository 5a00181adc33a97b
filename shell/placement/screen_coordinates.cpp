#include "shell/placement/screen_coordinates.h"

namespace glintdeck {

// The primary screen's bottom edge is y = 0; everything is measured up from it.
Rect screenRectFromQt(Rect qtRect, Rect primaryQt) {
    return {qtRect.x - primaryQt.x, primaryQt.y + primaryQt.height - (qtRect.y + qtRect.height),
            qtRect.width, qtRect.height};
}

Rect qtRectFromScreen(Rect rect, Rect primaryQt) {
    return {rect.x + primaryQt.x, primaryQt.y + primaryQt.height - rect.y - rect.height, rect.width,
            rect.height};
}

// A point names a pixel, converted as the 1 × 1 rectangle it covers: the top row of a screen
// (Qt y = its top) then lies inside that screen, whose frame is half-open at its top edge.
Point screenPointFromQt(Point qtPoint, Rect primaryQt) {
    return screenRectFromQt({qtPoint.x, qtPoint.y, 1, 1}, primaryQt).origin();
}

Point qtPointFromScreen(Point point, Rect primaryQt) {
    return qtRectFromScreen({point.x, point.y, 1, 1}, primaryQt).origin();
}

}  // namespace glintdeck
