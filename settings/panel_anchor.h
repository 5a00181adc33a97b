#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// Where the strip appears when summoned. Raw values are the stored form; declaration order is
// the order of the placement picker.
enum class PanelAnchor { cursor, screenCenter, topCenter, bottomCenter };

[[nodiscard]] std::string_view rawValue(PanelAnchor anchor);
[[nodiscard]] std::optional<PanelAnchor> panelAnchorFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const PanelAnchor> allPanelAnchors();
[[nodiscard]] std::string_view title(PanelAnchor anchor);  // "At cursor", "Screen center", ...

// A point in screen coordinates: origin at the bottom-left of the primary screen, y upwards.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

}  // namespace glintdeck
