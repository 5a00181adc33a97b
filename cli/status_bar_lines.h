#pragma once

#include <string>
#include <vector>

#include "presentation/stat_descriptor.h"

namespace glintdeck {

// One line for waybar's custom module with "return-type": "json": `text` (every tile's title
// and value), `tooltip` (the text report), `class` (the most loaded band: calm, busy or hot) and
// `percentage` (the highest tile load, 0 to 100). Waybar reads text and tooltip as Pango
// markup, so both are escaped: a process name is only ever text.
[[nodiscard]] std::string waybarLine(const std::vector<StatDescriptor>& tiles);

// The i3bar protocol (i3bar, swaybar): a header and the opening of the endless array, then one
// array of blocks per print, each after the first preceded by a comma. A block per tile with
// `full_text`, `short_text` (the value), `name` (the stat kind) and, beyond calm, `color`;
// `urgent` while hot.
[[nodiscard]] std::string i3barHeader();
[[nodiscard]] std::string i3barLine(const std::vector<StatDescriptor>& tiles, bool first);

}  // namespace glintdeck
