#pragma once

#include <string>
#include <vector>

#include "presentation/stat_descriptor.h"

namespace glintdeck {

// One line for waybar's custom module with "return-type": "json": `text` (every tile's title
// and value), `tooltip` (a line a tile: its title and value, and the top process where it lists
// processes; short enough to fit any screen), `class` (the most loaded band: calm, busy or hot)
// and `percentage` (the highest tile load, 0 to 100). Waybar reads text and tooltip as Pango
// markup, so both are escaped: a process name is only ever text.
[[nodiscard]] std::string waybarLine(const std::vector<StatDescriptor>& tiles);

// The i3bar protocol (i3bar, swaybar): a header and the opening of the endless array, then one
// array of blocks per print, each after the first preceded by a comma. A block per tile with
// `full_text`, `short_text` (the value), `name` (the stat kind), `min_width` (the widest text
// the tile can show) with `align`, and, beyond calm, `color`; `urgent` for the kinds listed in
// urgent.
[[nodiscard]] std::string i3barHeader();
[[nodiscard]] std::string i3barLine(const std::vector<StatDescriptor>& tiles,
                                    const std::vector<StatKind>& urgent, bool first);

}  // namespace glintdeck
