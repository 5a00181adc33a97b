#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "presentation/stat_descriptor.h"

namespace glintdeck {

// The strip as text: each tile's title, value and secondary value, then its detail rows and
// process rows, indented beneath it.
[[nodiscard]] std::string textReport(const std::vector<StatDescriptor>& tiles);

// The strip as JSON: one object per tile with its texts, load, band, detail rows and processes.
[[nodiscard]] nlohmann::json tilesJson(const std::vector<StatDescriptor>& tiles);

// A band as its JSON name and status-bar class: "calm", "busy" or "hot".
[[nodiscard]] std::string_view bandName(Band band);

// One line of --json output. Text that is not valid UTF-8 is replaced, never thrown on, so a
// status bar always gets a line it can parse.
[[nodiscard]] std::string jsonLine(const std::string& time, const nlohmann::json& tiles,
                                   const nlohmann::json& samples);

// A wall-clock time as ISO 8601 in UTC with seconds: "2026-12-06T09:10:11Z".
[[nodiscard]] std::string isoTime(double secondsSince1970);

}  // namespace glintdeck
