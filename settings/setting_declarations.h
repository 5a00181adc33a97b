#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/stat_kind.h"
#include "settings/alert_watch.h"
#include "settings/hot_key_binding.h"
#include "settings/panel_anchor.h"
#include "settings/theme_data.h"
#include "settings/tile_options.h"

// Every setting of the preferences file, declared once: its key, its default and, for numbers,
// the range it is held to. Loading, assigning and resetting AppSettings read them from here. The
// keys are a stored format: renaming one loses the users' values.
namespace glintdeck::setting {

template <typename Value>
struct Declared {
    std::string_view key;
    Value defaultValue;
};

// A number held to [lowest, highest] where it becomes a timer or a window size, since a
// hand-edited file can hold anything; the file keeps what it holds.
struct Bounded {
    std::string_view key;
    double defaultValue;
    double lowest;
    double highest;
};

// A map from kind to choice; a kind without an entry takes defaultFor(kind).
template <typename Value>
struct PerKind {
    std::string_view key;
    Value (*defaultFor)(StatKind);
};

// A key combination, stored as its key code and its modifier bits under two keys.
struct HotKey {
    std::string_view codeKey;
    std::string_view modifiersKey;
    HotKeyBinding defaultValue;
};

// A point stored as a flag saying it is there and its two coordinates; none by default.
struct Position {
    std::string_view flagKey;
    std::string_view xKey;
    std::string_view yKey;
};

using KindList = Declared<std::span<const StatKind>>;

// Before the list of known kinds was stored, these five were all there were.
inline constexpr StatKind kFirstKinds[] = {StatKind::cpu, StatKind::memory, StatKind::disk,
                                           StatKind::network, StatKind::battery};

inline constexpr KindList statOrder{"statOrder", allStatKinds()};
inline constexpr KindList enabledStats{"enabledStats", allStatKinds()};
// The kinds the last launch knew: a kind missing from it is new and starts enabled, once.
inline constexpr KindList knownStats{"knownStats", kFirstKinds};
inline constexpr PerKind<TileValueMode> tileValueModes{
    "tileValueModes", [](StatKind kind) {
        return kind == StatKind::network ? TileValueMode::both : TileValueMode::first;
    }};
inline constexpr PerKind<TileStyle> tileStyles{"tileStyles",
                                               [](StatKind) { return TileStyle::text; }};
// Seconds between samples: shorter than the lowest costs more than it shows, longer than a day
// is surely a typo.
inline constexpr Bounded interval{"interval", 1.0, 0.1, 86400};
inline constexpr Declared<PanelAnchor> anchor{"anchor", PanelAnchor::cursor};
inline constexpr Position customPosition{"hasCustomPosition", "customPositionX", "customPositionY"};
// In points; the range is the heights the settings window offers.
inline constexpr Bounded stripHeight{"stripHeight", 36, 22, 44};
inline constexpr HotKey hotKey{"hotKeyCode", "hotKeyModifiers", HotKeyBinding::defaultSummon()};
inline constexpr HotKey pinHotKey{"pinHotKeyCode", "pinHotKeyModifiers",
                                  HotKeyBinding::defaultPin()};
inline constexpr Declared<bool> hasSeenHint{"hasSeenHint", false};
inline constexpr Declared<ThemePreset> themePreset{"themePreset", ThemePreset::defaultPreset};
// The custom theme's colours and density, stored as data; none by default.
inline constexpr Declared<std::nullopt_t> customTheme{"customTheme", std::nullopt};
// Which watches may notify. Memory pressure is off until asked for: a machine that swaps by
// design (a small laptop with zram) would hear of it often.
inline constexpr Declared<bool> alertOverheating{"alertOverheating", true};
inline constexpr Declared<bool> alertRunawayProcess{"alertRunawayProcess", true};
inline constexpr Declared<bool> alertMemoryPressure{"alertMemoryPressure", false};

[[nodiscard]] constexpr const Declared<bool>& alert(AlertWatch watch) {
    switch (watch) {
        case AlertWatch::overheating:
            return alertOverheating;
        case AlertWatch::runawayProcess:
            return alertRunawayProcess;
        case AlertWatch::memoryPressure:
            break;
    }
    return alertMemoryPressure;
}

}  // namespace glintdeck::setting
