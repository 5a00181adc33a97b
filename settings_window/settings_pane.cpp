#include "settings_window/settings_pane.h"

#include <array>

namespace glintdeck {
namespace {

constexpr std::array kPanes{SettingsPane::stats, SettingsPane::appearance, SettingsPane::panel,
                            SettingsPane::hotkeys, SettingsPane::about};
constexpr std::array<std::string_view, 5> kTitles{"Stats", "Appearance", "Panel", "Hotkeys",
                                                  "About"};
constexpr std::array<std::string_view, 5> kSymbols{"square.grid.2x2", "paintbrush", "macwindow",
                                                   "keyboard", "info.circle"};

}  // namespace

std::span<const SettingsPane> allSettingsPanes() { return kPanes; }

std::string_view title(SettingsPane pane) { return kTitles[static_cast<size_t>(pane)]; }

std::string_view symbolName(SettingsPane pane) { return kSymbols[static_cast<size_t>(pane)]; }

}  // namespace glintdeck
