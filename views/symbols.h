#pragma once

#include <QString>
#include <optional>
#include <span>
#include <string_view>

namespace glintdeck {

// Icon names used by descriptors, the strip and the settings panes, each mapped to a glyph of
// the Material Icons font (Debian's fonts-material-design-icons-iconfont).
struct SymbolGlyph {
    std::string_view name;  // "cpu", "battery.25percent", "gearshape"
    char16_t codepoint;
};

// Every name the program uses; one table, so a new name is a one-line change.
[[nodiscard]] std::span<const SymbolGlyph> allSymbolGlyphs();

// The glyph of a name, as a one-character string; empty for an unknown name.
[[nodiscard]] QString symbolText(std::string_view name);

// Loads the first of the given font files that Qt accepts and returns its family. When none
// loads, writes one line to standard error and returns nothing, so views draw without icons.
[[nodiscard]] std::optional<QString> loadIconFont(std::span<const QString> candidates);

// The icon font's family, loaded on first use from the installed package; nothing when missing.
// Needs a QGuiApplication.
[[nodiscard]] const std::optional<QString>& iconFontFamily();

}  // namespace glintdeck
