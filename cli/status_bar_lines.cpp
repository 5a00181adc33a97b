#include "cli/status_bar_lines.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "cli/tile_report.h"
#include "presentation/stat_kind_text.h"

namespace glintdeck {
namespace {

using nlohmann::json;

// Colours a bar shows for the two bands beyond calm, readable on dark and light bars.
constexpr const char* kBusyColour = "#E5A50A";
constexpr const char* kHotColour = "#F66151";

std::string tileText(const StatDescriptor& tile) {
    std::string text = std::string(title(tile.kind)) + ' ' + tile.value;
    if (tile.secondaryValue) text += ' ' + *tile.secondaryValue;
    return text;
}

std::string markupEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Invalid UTF-8 from the machine is replaced, never thrown on: the bar always gets a line.
std::string dumped(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::string waybarLine(const std::vector<StatDescriptor>& tiles) {
    std::string text;
    Band worst = Band::calm;
    double highest = 0;
    for (const StatDescriptor& tile : tiles) {
        if (!text.empty()) text += "  ";
        text += tileText(tile);
        worst = std::max(worst, tile.band);
        if (std::isfinite(tile.loadPercent)) highest = std::max(highest, tile.loadPercent);
    }
    std::string tooltip = textReport(tiles);
    if (tooltip.ends_with('\n')) tooltip.pop_back();
    return dumped({
        {"text", markupEscaped(text)},
        {"tooltip", markupEscaped(tooltip)},
        {"class", bandName(worst)},
        {"percentage", static_cast<int>(std::lround(std::clamp(highest, 0.0, 100.0)))},
    });
}

std::string i3barHeader() { return "{\"version\":1}\n[\n"; }

std::string i3barLine(const std::vector<StatDescriptor>& tiles, bool first) {
    json blocks = json::array();
    for (const StatDescriptor& tile : tiles) {
        json block = {
            {"full_text", tileText(tile)},
            {"short_text", tile.value},
            {"name", rawValue(tile.kind)},
        };
        if (tile.band == Band::busy) block["color"] = kBusyColour;
        if (tile.band == Band::hot) {
            block["color"] = kHotColour;
            block["urgent"] = true;
        }
        blocks.push_back(std::move(block));
    }
    return (first ? "" : ",") + dumped(blocks);
}

}  // namespace glintdeck
