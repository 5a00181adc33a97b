#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/stat_kind.h"
#include "settings/tile_options.h"

namespace glintdeck {

// One of the two values of memory (used, free), disk (free, used) or network (down, up).
struct TileValue {
    std::string label;   // "Used"; also names the value in the settings
    std::string marker;  // put before the text when both values show: "U", "↓"
    std::string text;    // the current value
    std::string widest;  // the widest text the value can take
    bool operator==(const TileValue&) const = default;
};

// The fixed parts of a two-value kind's values, first and second; their texts come from the
// samples. Kinds with one value have none.
struct TwoValueNames {
    TileValue first;
    TileValue second;
};
[[nodiscard]] std::optional<TwoValueNames> twoValueNames(StatKind kind);

// The tile's texts for the kind's value mode. Secondary texts are present exactly when the mode
// shows both values; each shown value then carries its marker and a space.
struct CombinedValues {
    std::string value;
    std::string widestValue;
    std::optional<std::string> secondaryValue;
    std::optional<std::string> widestSecondaryValue;
    bool operator==(const CombinedValues&) const = default;
};
[[nodiscard]] CombinedValues combineValues(TileValueMode mode, const TileValue& first,
                                           const TileValue& second);

// The settings' name of a mode from the two value labels: "Used and Free", "Free and Used",
// "Used", "Free" for memory.
[[nodiscard]] std::string title(TileValueMode mode, std::string_view firstLabel,
                                std::string_view secondLabel);

}  // namespace glintdeck
