#include "views/symbols.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>
#include <cstdio>

namespace glintdeck {
namespace {

// Codepoints from the font package's scss/_variables.scss.
constexpr std::array<SymbolGlyph, 24> kSymbols{{
    {"cpu", 0xe322},                      // memory (a chip)
    {"memorychip", 0xe1c2},               // sd_storage
    {"internaldrive", 0xe1db},            // storage
    {"network", 0xe8d5},                  // swap_vert: traffic both ways
    {"battery.0percent", 0xebdc},         // battery_0_bar
    {"battery.25percent", 0xebe0},        // battery_2_bar
    {"battery.50percent", 0xebdd},        // battery_3_bar
    {"battery.75percent", 0xebd4},        // battery_5_bar
    {"battery.100percent", 0xe1a4},       // battery_full
    {"battery.100", 0xe1a4},              // the stats pane's battery row
    {"battery.100percent.bolt", 0xe1a3},  // battery_charging_full
    {"cpu.fill", 0xe30d},                 // developer_board: the graphics card
    {"fanblades", 0xec0c},                // wind_power: fan blades
    {"bolt.fill", 0xea0b},                // bolt
    {"thermometer", 0xe1ff},              // device_thermostat
    {"speedometer", 0xe9e4},              // speed
    {"clock", 0xe8b5},                    // schedule
    {"pin.fill", 0xf10d},                 // push_pin
    {"gearshape", 0xe8b8},                // settings
    {"square.grid.2x2", 0xe9b0},          // grid_view
    {"paintbrush", 0xe3ae},               // brush
    {"macwindow", 0xe069},                // web_asset
    {"keyboard", 0xe312},                 // keyboard
    {"info.circle", 0xe88f},              // info_outline: a circled i, not a filled disc
}};

}  // namespace

std::span<const SymbolGlyph> allSymbolGlyphs() { return kSymbols; }

QString symbolText(std::string_view name) {
    for (const SymbolGlyph& symbol : kSymbols) {
        if (symbol.name == name) return QString(QChar(symbol.codepoint));
    }
    return {};
}

std::optional<QString> loadIconFont(std::span<const QString> candidates) {
    for (const QString& path : candidates) {
        int id = QFontDatabase::addApplicationFont(path);
        if (id < 0) continue;
        QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) return families.front();
    }
    std::fputs("glintdeck: the Material Icons font is missing; tiles are drawn without icons\n",
               stderr);
    return std::nullopt;
}

const std::optional<QString>& iconFontFamily() {
    // A process-wide resource: Qt's font database keeps the font once added.
    static const std::optional<QString> family = [] {
        const std::array<QString, 1> paths{QStringLiteral(
            "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf")};
        return loadIconFont(paths);
    }();
    return family;
}

}  // namespace glintdeck
