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

// The tile's text at its widest, for a block that keeps its width whatever the digits.
std::string widestTileText(const StatDescriptor& tile) {
    std::string text = std::string(title(tile.kind)) + ' ' + tile.widestValue;
    if (tile.secondaryValue) {
        text += ' ' + tile.widestSecondaryValue.value_or(*tile.secondaryValue);
    }
    return text;
}

// A line a tile: its text, and where it lists processes the busiest one, the usual question
// behind a glance at the processor or the memory. No columns: waybar's tooltip font is
// proportional, and a line this short needs none.
std::string tooltipSummary(const std::vector<StatDescriptor>& tiles) {
    std::string summary;
    for (const StatDescriptor& tile : tiles) {
        if (!summary.empty()) summary += '\n';
        summary += tileText(tile);
        if (tile.processSection && !tile.processSection->rows.empty()) {
            const auto& [name, value] = tile.processSection->rows.front();
            summary.append(" \u00B7 ").append(name).append(1, ' ').append(value);
        }
    }
    return summary;
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
    return dumped({
        {"text", markupEscaped(text)},
        {"tooltip", markupEscaped(tooltipSummary(tiles))},
        {"class", bandName(worst)},
        {"percentage", static_cast<int>(std::lround(std::clamp(highest, 0.0, 100.0)))},
    });
}

std::string i3barHeader() { return "{\"version\":1}\n[\n"; }

std::string i3barLine(const std::vector<StatDescriptor>& tiles, const std::vector<StatKind>& urgent,
                      bool first) {
    json blocks = json::array();
    for (const StatDescriptor& tile : tiles) {
        json block = {
            {"full_text", tileText(tile)},
            {"short_text", tile.value},
            {"name", rawValue(tile.kind)},
            // The bar measures the string in its own font: the block is as wide as the widest
            // text the stat can show, so it and the blocks beside it stay put as digits change.
            {"min_width", widestTileText(tile)},
            {"align", "left"},
        };
        if (tile.band == Band::busy) block["color"] = kBusyColour;
        if (tile.band == Band::hot) block["color"] = kHotColour;
        if (std::ranges::find(urgent, tile.kind) != urgent.end()) block["urgent"] = true;
        blocks.push_back(std::move(block));
    }
    return (first ? "" : ",") + dumped(blocks);
}

}  // namespace glintdeck
