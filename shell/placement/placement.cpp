#include "shell/placement/placement.h"

#include <algorithm>
#include <limits>

namespace glintdeck {

namespace {

// Lower bound first, then the upper one: a span that does not fit ends at the lower bound.
double clampSpan(double position, double length, double lower, double extent) {
    if (length > extent) {
        return lower;
    }
    return std::min(std::max(position, lower), lower + extent - length);
}

// The heights free below and above the strip on its screen's visible frame, less the gap.
struct SpacesBeside {
    double below = 0;
    double above = 0;
};

SpacesBeside spacesBeside(Rect stripFrame, const Rect& visibleFrame) {
    return {stripFrame.minY() - attachedPanelGap - visibleFrame.minY(),
            visibleFrame.maxY() - stripFrame.maxY() - attachedPanelGap};
}

std::optional<ScreenGeometry> stripFrameScreen(const ScreenLayout& layout, Rect stripFrame) {
    return screenContaining(layout, {stripFrame.midX(), stripFrame.midY()});
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

Point replacedStripOrigin(PanelAnchor anchor, std::optional<Point> customPosition, Size size,
                          Rect shownFrame, const ScreenLayout& layout) {
    const Point centre{shownFrame.midX(), shownFrame.midY()};
    if (anchor != PanelAnchor::cursor) {
        return stripOrigin(anchor, customPosition, size, centre, layout);
    }
    return clampOrigin({centre.x - size.width / 2, shownFrame.maxY() - size.height}, size,
                       screenContaining(layout, centre));
}

Size attachedPanelRoom(Rect stripFrame, const ScreenLayout& layout) {
    const std::optional<ScreenGeometry> screen = stripFrameScreen(layout, stripFrame);
    if (!screen) {
        constexpr double unlimited = std::numeric_limits<double>::infinity();
        return {unlimited, unlimited};
    }
    const SpacesBeside spaces = spacesBeside(stripFrame, screen->visibleFrame);
    return {screen->visibleFrame.width, std::max({spaces.below, spaces.above, 0.0})};
}

Point attachedPanelOrigin(Size size, Rect stripFrame, double centreX, const ScreenLayout& layout) {
    const double below = stripFrame.minY() - attachedPanelGap - size.height;
    const double above = stripFrame.maxY() + attachedPanelGap;
    const std::optional<ScreenGeometry> screen = stripFrameScreen(layout, stripFrame);
    if (!screen) {
        return {centreX - size.width / 2, below};
    }
    const Rect& vf = screen->visibleFrame;
    const SpacesBeside spaces = spacesBeside(stripFrame, vf);
    double y = spaces.below >= spaces.above ? below : above;
    if (size.height <= spaces.below) {
        y = below;
    } else if (size.height <= spaces.above) {
        y = above;
    }
    return {clampSpan(centreX - size.width / 2, size.width, vf.minX(), vf.width), y};
}

}  // namespace glintdeck
