#pragma once

#include <optional>

#include "shell/placement/geometry.h"

namespace glintdeck {

// Where the floating windows go: the strip by its anchor or remembered position, the detail
// card and the first-run hint next to the strip. Pure functions of the screen layout and the
// pointer, so every rule is testable without a display; all in screen coordinates.
//
// The pointer can be unknown: in a Wayland session XWayland only sees it over X11 windows, and
// a position it last saw over one of them would place the strip where the user no longer is.

// The strip hangs this far below the pointer under the cursor anchor.
inline constexpr double cursorDrop = 18;
// Distance from the visible frame's top or bottom edge under the topCenter and bottomCenter
// anchors.
inline constexpr double edgeMargin = 24;
// Vertical distance between the strip and the card or hint below (or above) it.
inline constexpr double attachedPanelGap = 6;

// The first screen whose frame contains the point, else the main screen; absent without
// screens.
[[nodiscard]] std::optional<ScreenGeometry> screenContaining(const ScreenLayout& layout, Point p);

// Moves the origin of a rectangle of the given size so it lies inside the screen's visible
// frame; a rectangle wider (taller) than the frame is aligned to its left (bottom) edge.
// Without a screen the origin is returned unchanged.
[[nodiscard]] Point clampOrigin(Point origin, Size size,
                                const std::optional<ScreenGeometry>& screen);

// The screen the strip goes to: the one containing its custom position (ignored under the cursor
// anchor), else the pointer's, else (the pointer unknown) the main screen.
[[nodiscard]] std::optional<ScreenGeometry> stripScreen(PanelAnchor anchor,
                                                        std::optional<Point> customPosition,
                                                        std::optional<Point> pointer,
                                                        const ScreenLayout& layout);

// The strip's origin: a custom position (ignored under the cursor anchor) clamped into the
// screen containing it, or the anchor's place on the pointer's screen, clamped. With the
// pointer unknown the anchors use the main screen, and the cursor anchor becomes the top
// centre.
[[nodiscard]] Point stripOrigin(PanelAnchor anchor, std::optional<Point> customPosition, Size size,
                                std::optional<Point> pointer, const ScreenLayout& layout);

// The most a card or hint may measure next to the strip frame, on the strip's screen (the
// screen containing the strip's centre, else the main one): the visible frame's width, and the
// height of the taller of the spaces below and above the strip, less the gap. A panel of that
// size or less fits below or above the strip, wholly on the screen and clear of the strip; a
// larger one is shrunk to it. Unlimited without a screen.
[[nodiscard]] Size attachedPanelRoom(Rect stripFrame, const ScreenLayout& layout);

// Where a shown strip of the given size goes when the screens change under it (a new
// resolution, a screen added or removed): placed as at a summon, its own centre standing in for
// the pointer, so it stays on the screen that holds its centre (else goes to the main one);
// under the cursor anchor it keeps its top centre, clamped into that screen. stripScreen with the
// same centre is the screen it goes to.
[[nodiscard]] Point replacedStripOrigin(PanelAnchor anchor, std::optional<Point> customPosition,
                                        Size size, Rect shownFrame, const ScreenLayout& layout);

// The origin of a card or hint of the given size next to the strip frame, centred on x =
// centreX and kept within the screen's width: below the strip where it fits, else above it
// where it fits. A panel taller than both spaces (one not shrunk to attachedPanelRoom) goes to
// the taller one and runs past the screen's edge rather than over the strip. Without a screen it
// hangs below the strip.
[[nodiscard]] Point attachedPanelOrigin(Size size, Rect stripFrame, double centreX,
                                        const ScreenLayout& layout);

}  // namespace glintdeck
