#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// How a kind with two values (memory used/free, disk free/used, network down/up) fills its
// tile. Raw values are the stored form.
enum class TileValueMode { both, bothReversed, first, second };

[[nodiscard]] std::string_view rawValue(TileValueMode mode);
[[nodiscard]] std::optional<TileValueMode> tileValueModeFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const TileValueMode> allTileValueModes();
[[nodiscard]] bool showsBothValues(TileValueMode mode);

// What a tile shows besides its text. Only kinds with a history can use the graph styles.
enum class TileStyle { text, textAndGraph, graph };

[[nodiscard]] std::string_view rawValue(TileStyle style);
[[nodiscard]] std::optional<TileStyle> tileStyleFromRawValue(std::string_view raw);
[[nodiscard]] std::span<const TileStyle> allTileStyles();
[[nodiscard]] std::string_view title(TileStyle style);  // "Text", "Text + graph", "Graph only"

}  // namespace glintdeck
