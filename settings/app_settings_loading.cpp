// Building AppSettings from the store: each field read by its own rule, falling back to its
// default when the stored value is missing or unusable, without rewriting the store (except the
// two writes that record which kinds this version knows).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "settings/app_settings.h"
#include "settings/preference_keys.h"

namespace glintdeck {
namespace {

namespace keys = preference_keys;

// Before the list of known kinds was stored, these five were all there were.
constexpr StatKind kFirstKinds[] = {StatKind::cpu, StatKind::memory, StatKind::disk,
                                    StatKind::network, StatKind::battery};

// The known kinds among raw values, unrecognised ones skipped; nothing when the key is absent
// or holds anything but strings.
std::optional<std::set<StatKind>> kindSet(const PreferencesStore& store, std::string_view key) {
    auto raws = store.stringArray(key);
    if (!raws) return std::nullopt;
    std::set<StatKind> kinds;
    for (const auto& raw : *raws) {
        if (auto kind = statKindFromRawValue(raw)) kinds.insert(*kind);
    }
    return kinds;
}

std::vector<StatKind> loadStatOrder(const PreferencesStore& store) {
    std::vector<StatKind> order;
    std::set<StatKind> seen;
    if (auto raws = store.stringArray(keys::statOrder)) {
        for (const auto& raw : *raws) {
            auto kind = statKindFromRawValue(raw);
            // A repeated kind would show two tiles and two settings rows that toggle together;
            // the first place wins.
            if (kind && seen.insert(*kind).second) order.push_back(*kind);
        }
    }
    for (StatKind kind : allStatKinds()) {
        if (!seen.contains(kind)) order.push_back(kind);
    }
    return order;
}

template <typename Value>
std::map<StatKind, Value> loadKindMap(const PreferencesStore& store, std::string_view key,
                                      std::optional<Value> (*fromRawValue)(std::string_view)) {
    std::map<StatKind, Value> result;
    for (const auto& [rawKind, rawValue] :
         store.stringDictionary(key).value_or(std::map<std::string, std::string>{})) {
        auto kind = statKindFromRawValue(rawKind);
        auto value = fromRawValue(rawValue);
        if (kind && value) result.emplace(*kind, *value);
    }
    return result;
}

double positiveOr(std::optional<double> value, double fallback) {
    return value.value_or(0) > 0 ? *value : fallback;
}

// A positive stored number held to [lowest, highest], saying so when it was not within.
double boundedOr(const PreferencesStore& store, std::string_view key, double fallback,
                 double lowest, double highest) {
    double stored = positiveOr(store.doubleValue(key), fallback);
    double used = std::clamp(stored, lowest, highest);
    if (used != stored) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "glintdeck: the stored %.*s %g is out of range; using %g (the file keeps it)",
                      static_cast<int>(key.size()), key.data(), stored, used);
        store.warn(line);
    }
    return used;
}

// Stored hot-key integers are unsigned 32-bit; anything else counts as not stored.
std::optional<uint32_t> hotKeyInteger(const PreferencesStore& store, std::string_view key) {
    auto value = store.integerValue(key);
    if (!value || *value < 0 || *value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

HotKeyBinding loadBinding(const PreferencesStore& store, std::string_view codeKey,
                          std::string_view modifiersKey, HotKeyBinding fallback) {
    if (!store.contains(codeKey)) return fallback;
    auto code = hotKeyInteger(store, codeKey);
    if (!code) return fallback;
    return {*code, hotKeyInteger(store, modifiersKey).value_or(0)};
}

std::vector<std::string> rawValues(std::span<const StatKind> kinds) {
    std::vector<std::string> raws;
    for (StatKind kind : kinds) raws.emplace_back(rawValue(kind));
    return raws;
}

}  // namespace

void AppSettings::load() {
    PreferencesStore& store = *defaults_;
    statOrder_ = loadStatOrder(store);

    if (auto enabled = kindSet(store, keys::enabledStats)) {
        enabledStats_ = std::move(*enabled);
        // Kinds introduced since the last launch start enabled, once: they are stored back so
        // they stay enabled, and "knownStats" below keeps them from being added again after the
        // user turns them off.
        auto known =
            kindSet(store, keys::knownStats)
                .value_or(std::set<StatKind>(std::begin(kFirstKinds), std::end(kFirstKinds)));
        bool added = false;
        for (StatKind kind : allStatKinds()) {
            if (!known.contains(kind)) added |= enabledStats_.insert(kind).second;
        }
        if (added) writeEnabledStats();
    } else {
        enabledStats_ = std::set<StatKind>(allStatKinds().begin(), allStatKinds().end());
    }
    store.setStringArray(keys::knownStats, rawValues(allStatKinds()));

    tileValueModes_ = loadKindMap(store, keys::tileValueModes, &tileValueModeFromRawValue);
    tileStyles_ = loadKindMap(store, keys::tileStyles, &tileStyleFromRawValue);
    interval_ = boundedOr(store, keys::interval, 1.0, kShortestInterval, kLongestInterval);
    anchor_ = panelAnchorFromRawValue(store.stringValue(keys::anchor).value_or(""))
                  .value_or(PanelAnchor::cursor);

    customPosition_.reset();
    if (store.boolValue(keys::hasCustomPosition).value_or(false)) {
        auto x = store.doubleValue(keys::customPositionX);
        auto y = store.doubleValue(keys::customPositionY);
        // Without both coordinates there is no usable position; the anchor places the strip.
        if (x && y) customPosition_ = Point{*x, *y};
    }

    stripHeight_ = boundedOr(store, keys::stripHeight, 36, kLowestStripHeight, kHighestStripHeight);
    hotKey_ =
        loadBinding(store, keys::hotKeyCode, keys::hotKeyModifiers, HotKeyBinding::defaultSummon());
    pinHotKey_ = loadBinding(store, keys::pinHotKeyCode, keys::pinHotKeyModifiers,
                             HotKeyBinding::defaultPin());
    isPinned_ = false;
    hasSeenHint_ = store.boolValue(keys::hasSeenHint).value_or(false);
    themePreset_ = themePresetFromRawValue(store.stringValue(keys::themePreset).value_or(""))
                       .value_or(ThemePreset::defaultPreset);

    customTheme_.reset();
    if (auto data = store.data(keys::customTheme)) {
        customTheme_ = decodeThemeData(
            std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    }
}

}  // namespace glintdeck
