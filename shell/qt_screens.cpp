#include "shell/qt_screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "shell/placement/screen_coordinates.h"

namespace glintdeck {

namespace {

Rect toRect(const QRect& r) {
    return {double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

// Without any screen the conversion has no primary to measure from; Qt's origin serves.
Rect primaryGeometry() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary != nullptr ? toRect(primary->geometry()) : Rect{};
}

}  // namespace

ScreenLayout currentScreenLayout() {
    ScreenLayout layout;
    const Rect primary = primaryGeometry();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen == QGuiApplication::primaryScreen()) {
            layout.mainIndex = layout.screens.size();
        }
        layout.screens.push_back({screenRectFromQt(toRect(screen->geometry()), primary),
                                  screenRectFromQt(toRect(screen->availableGeometry()), primary)});
    }
    return layout;
}

Point pointerLocation() {
    const QPoint pointer = QCursor::pos();
    return screenPointFromQt({double(pointer.x()), double(pointer.y())}, primaryGeometry());
}

Rect screenRect(const QRect& qtRect) { return screenRectFromQt(toRect(qtRect), primaryGeometry()); }

QPoint qtTopLeft(Point origin, Size size) {
    const Rect r =
        qtRectFromScreen({origin.x, origin.y, size.width, size.height}, primaryGeometry());
    return {int(std::lround(r.x)), int(std::lround(r.y))};
}

}  // namespace glintdeck
