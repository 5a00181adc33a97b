#include "settings/tile_options.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array kModes{TileValueMode::both, TileValueMode::bothReversed, TileValueMode::first,
                            TileValueMode::second};
constexpr std::array<std::string_view, 4> kModeRawValues{"both", "bothReversed", "first", "second"};

constexpr std::array kStyles{TileStyle::text, TileStyle::textAndGraph, TileStyle::graph};
constexpr std::array<std::string_view, 3> kStyleRawValues{"text", "textAndGraph", "graph"};
constexpr std::array<std::string_view, 3> kStyleTitles{"Text", "Text + graph", "Graph only"};

template <typename Enum, size_t N>
std::optional<Enum> fromRaw(const std::array<Enum, N>& cases,
                            const std::array<std::string_view, N>& raws, std::string_view raw) {
    for (size_t i = 0; i < N; ++i) {
        if (raws[i] == raw) return cases[i];
    }
    return std::nullopt;
}

}  // namespace

std::string_view rawValue(TileValueMode mode) { return kModeRawValues[static_cast<size_t>(mode)]; }

std::optional<TileValueMode> tileValueModeFromRawValue(std::string_view raw) {
    return fromRaw(kModes, kModeRawValues, raw);
}

std::span<const TileValueMode> allTileValueModes() { return kModes; }

bool showsBothValues(TileValueMode mode) {
    return mode == TileValueMode::both || mode == TileValueMode::bothReversed;
}

std::string_view rawValue(TileStyle style) { return kStyleRawValues[static_cast<size_t>(style)]; }

std::optional<TileStyle> tileStyleFromRawValue(std::string_view raw) {
    return fromRaw(kStyles, kStyleRawValues, raw);
}

std::span<const TileStyle> allTileStyles() { return kStyles; }

std::string_view title(TileStyle style) { return kStyleTitles[static_cast<size_t>(style)]; }

}  // namespace glintdeck
