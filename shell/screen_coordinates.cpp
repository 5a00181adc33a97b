#include "shell/screen_coordinates.h"

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

Point screenPointFromQt(Point qtPoint, Rect primaryQt) {
    return screenRectFromQt({qtPoint.x, qtPoint.y, 0, 0}, primaryQt).origin();
}

Point qtPointFromScreen(Point point, Rect primaryQt) {
    return qtRectFromScreen({point.x, point.y, 0, 0}, primaryQt).origin();
}

}  // namespace glintdeck
