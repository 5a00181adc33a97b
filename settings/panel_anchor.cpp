#include "settings/panel_anchor.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array kAnchors{PanelAnchor::cursor, PanelAnchor::screenCenter,
                              PanelAnchor::topCenter, PanelAnchor::bottomCenter};
constexpr std::array<std::string_view, 4> kRawValues{"cursor", "screenCenter", "topCenter",
                                                     "bottomCenter"};
constexpr std::array<std::string_view, 4> kTitles{"At cursor", "Screen center", "Top center",
                                                  "Bottom center"};

}  // namespace

std::string_view rawValue(PanelAnchor anchor) { return kRawValues[static_cast<size_t>(anchor)]; }

std::optional<PanelAnchor> panelAnchorFromRawValue(std::string_view raw) {
    for (PanelAnchor anchor : kAnchors) {
        if (rawValue(anchor) == raw) return anchor;
    }
    return std::nullopt;
}

std::span<const PanelAnchor> allPanelAnchors() { return kAnchors; }

std::string_view title(PanelAnchor anchor) { return kTitles[static_cast<size_t>(anchor)]; }

}  // namespace glintdeck
