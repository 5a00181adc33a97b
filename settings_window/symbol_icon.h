#pragma once

#include <QColor>
#include <QIcon>
#include <string_view>

namespace glintdeck {

// The icon of a symbol name (a stat's or a pane's) for list rows: drawn in `color`, and in
// `selectedColor` on a selected row, where the highlight would hide it. Empty when the icon
// font or the name is missing; rows then show their title alone.
[[nodiscard]] QIcon symbolIcon(std::string_view name, const QColor& color,
                               const QColor& selectedColor);

}  // namespace glintdeck
