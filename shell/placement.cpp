#include "shell/placement.h"

#include <algorithm>

namespace glintdeck {

namespace {

// Lower bound first, then the upper one: a span that does not fit ends at the lower bound.
double clampSpan(double position, double length, double lower, double extent) {
    if (length > extent) {
        return lower;
    }
    return std::min(std::max(position, lower), lower + extent - length);
}

}  // namespace

std::optional<ScreenGeometry> screenContaining(const ScreenLayout& layout, Point p) {
    for (const ScreenGeometry& screen : layout.screens) {
        if (screen.frame.contains(p)) {
            return screen;
        }
    }
    return layout.mainScreen();
}

Point clampOrigin(Point origin, Size size, const std::optional<ScreenGeometry>& screen) {
    if (!screen) {
        return origin;
    }
    const Rect& vf = screen->visibleFrame;
    return {clampSpan(origin.x, size.width, vf.minX(), vf.width),
            clampSpan(origin.y, size.height, vf.minY(), vf.height)};
}

std::optional<ScreenGeometry> stripScreen(PanelAnchor anchor, std::optional<Point> customPosition,
                                          std::optional<Point> pointer,
                                          const ScreenLayout& layout) {
    if (anchor != PanelAnchor::cursor && customPosition) {
        return screenContaining(layout, *customPosition);
    }
    return pointer ? screenContaining(layout, *pointer) : layout.mainScreen();
}

Point stripOrigin(PanelAnchor anchor, std::optional<Point> customPosition, Size size,
                  std::optional<Point> pointer, const ScreenLayout& layout) {
    const std::optional<ScreenGeometry> screen =
        stripScreen(anchor, customPosition, pointer, layout);
    if (anchor != PanelAnchor::cursor && customPosition) {
        return clampOrigin(*customPosition, size, screen);
    }
    if (anchor == PanelAnchor::cursor && !pointer) {
        anchor = PanelAnchor::topCenter;
    }
    Point origin;
    if (anchor == PanelAnchor::cursor) {
        origin = {pointer->x - size.width / 2, pointer->y - size.height - cursorDrop};
    } else {
        const Rect vf = screen ? screen->visibleFrame : Rect{};
        origin.x = vf.midX() - size.width / 2;
        switch (anchor) {
            case PanelAnchor::screenCenter:
                origin.y = vf.midY() - size.height / 2;
                break;
            case PanelAnchor::topCenter:
                origin.y = vf.maxY() - size.height - edgeMargin;
                break;
            case PanelAnchor::bottomCenter:
            case PanelAnchor::cursor:
                origin.y = vf.minY() + edgeMargin;
                break;
        }
    }
    return clampOrigin(origin, size, screen);
}

Point attachedPanelOrigin(Size size, Rect stripFrame, double centreX, const ScreenLayout& layout) {
    const std::optional<ScreenGeometry> screen =
        screenContaining(layout, {stripFrame.midX(), stripFrame.midY()});
    const Rect vf = screen ? screen->visibleFrame : stripFrame;

    double y = stripFrame.minY() - attachedPanelGap - size.height;
    if (y < vf.minY()) {
        y = stripFrame.maxY() + attachedPanelGap;
    }
    const double x = clampSpan(centreX - size.width / 2, size.width, vf.minX(), vf.width);
    // Unlike the strip, a panel taller than the frame stays beside the strip rather than
    // being pinned to the bottom edge.
    if (size.height <= vf.height) {
        y = clampSpan(y, size.height, vf.minY(), vf.height);
    }
    return {x, y};
}

}  // namespace glintdeck
