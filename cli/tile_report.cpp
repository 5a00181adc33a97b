#include "cli/tile_report.h"

#include <cmath>
#include <ctime>

#include "presentation/stat_kind_text.h"

namespace glintdeck {
namespace {

constexpr size_t kTitleColumn = 14;
constexpr size_t kLabelColumn = 12;

// Display width in characters: UTF-8 continuation bytes take no column.
size_t columns(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

void appendPadded(std::string& out, const std::string& text, size_t width) {
    out += text;
    for (size_t used = columns(text); used < width; ++used) out += ' ';
}

nlohmann::json rows(const std::vector<StatDescriptor::Row>& list) {
    nlohmann::json result = nlohmann::json::array();
    for (const auto& [label, value] : list) result.push_back({label, value});
    return result;
}

}  // namespace

std::string_view bandName(Band band) {
    switch (band) {
        case Band::calm:
            return "calm";
        case Band::busy:
            return "busy";
        case Band::hot:
            return "hot";
    }
    return "calm";
}

std::string textReport(const std::vector<StatDescriptor>& tiles) {
    std::string out;
    for (const StatDescriptor& tile : tiles) {
        appendPadded(out, std::string(title(tile.kind)), kTitleColumn);
        out += tile.value;
        if (tile.secondaryValue) out += "   " + *tile.secondaryValue;
        out += '\n';
        for (const auto& [label, value] : tile.detail) {
            out += "    ";
            appendPadded(out, label, kLabelColumn);
            out += value + '\n';
        }
        if (tile.processSection) {
            out += "    " + tile.processSection->title + '\n';
            for (const auto& [name, value] : tile.processSection->rows) {
                out += "        ";
                appendPadded(out, name, 28);
                out += value + '\n';
            }
        }
    }
    return out;
}

nlohmann::json tilesJson(const std::vector<StatDescriptor>& tiles) {
    nlohmann::json result = nlohmann::json::array();
    for (const StatDescriptor& tile : tiles) {
        nlohmann::json processes = nullptr;
        if (tile.processSection) {
            processes = {{"title", tile.processSection->title},
                         {"rows", rows(tile.processSection->rows)}};
        }
        result.push_back({
            {"kind", rawValue(tile.kind)},
            {"title", title(tile.kind)},
            {"symbol", tile.symbol},
            {"value", tile.value},
            {"widestValue", tile.widestValue},
            {"secondaryValue",
             tile.secondaryValue ? nlohmann::json(*tile.secondaryValue) : nlohmann::json()},
            {"loadPercent", tile.loadPercent},
            {"band", bandName(tile.band)},
            {"detail", rows(tile.detail)},
            {"processes", processes},
        });
    }
    return result;
}

std::string jsonLine(const std::string& time, const nlohmann::json& tiles,
                     const nlohmann::json& samples) {
    nlohmann::json line = {{"time", time}, {"tiles", tiles}, {"samples", samples}};
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string isoTime(double secondsSince1970) {
    std::time_t whole = static_cast<std::time_t>(std::floor(secondsSince1970));
    std::tm utc{};
    gmtime_r(&whole, &utc);
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace glintdeck
