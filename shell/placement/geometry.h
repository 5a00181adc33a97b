#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "settings/panel_anchor.h"

namespace glintdeck {

// Sizes and rectangles in screen coordinates: origin at the bottom-left of the primary screen,
// y growing upwards; a rectangle's origin is its bottom-left corner.
struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const Rect&) const = default;

    [[nodiscard]] double minX() const { return x; }
    [[nodiscard]] double maxX() const { return x + width; }
    [[nodiscard]] double midX() const { return x + width / 2; }
    [[nodiscard]] double minY() const { return y; }
    [[nodiscard]] double maxY() const { return y + height; }
    [[nodiscard]] double midY() const { return y + height / 2; }
    [[nodiscard]] Point origin() const { return {x, y}; }

    // Half-open, so a point on the edge between two side-by-side screens belongs to one.
    [[nodiscard]] bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
};

// One screen: its whole frame and the part windows may use (minus panels and docks).
struct ScreenGeometry {
    Rect frame;
    Rect visibleFrame;
    bool operator==(const ScreenGeometry&) const = default;
};

// The screens in the platform's order and which of them is the main one.
struct ScreenLayout {
    std::vector<ScreenGeometry> screens;
    std::size_t mainIndex = 0;

    bool operator==(const ScreenLayout&) const = default;

    // Absent only when no screen is attached.
    [[nodiscard]] std::optional<ScreenGeometry> mainScreen() const {
        if (mainIndex < screens.size()) {
            return screens[mainIndex];
        }
        if (!screens.empty()) {
            return screens.front();
        }
        return std::nullopt;
    }
};

}  // namespace glintdeck
