#pragma once

// Stand-in for the settings layer's PanelAnchor, Point and HotKeyBinding until that layer is
// merged; the names and fields are the ones settings/ declares. Removed at the merge.

#include <cstdint>

namespace glintdeck {

enum class PanelAnchor { cursor, screenCenter, topCenter, bottomCenter };

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct HotKeyBinding {
    static constexpr uint32_t command = 0x0100;
    static constexpr uint32_t shift = 0x0200;
    static constexpr uint32_t option = 0x0800;
    static constexpr uint32_t control = 0x1000;

    uint32_t keyCode = 0;
    uint32_t modifiers = 0;

    bool operator==(const HotKeyBinding&) const = default;
};

}  // namespace glintdeck
