// Building AppSettings from the store: each field read by its own rule, falling back to its
// default when the stored value is missing or unusable, without rewriting the store (except the
// two writes that record which kinds this version knows).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "settings/app_settings.h"
#include "settings/setting_declarations.h"

namespace glintdeck {
namespace {

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
    if (auto raws = store.stringArray(setting::statOrder.key)) {
        for (const auto& raw : *raws) {
            auto kind = statKindFromRawValue(raw);
            // A repeated kind would show two tiles and two settings rows that toggle together;
            // the first place wins.
            if (kind && seen.insert(*kind).second) order.push_back(*kind);
        }
    }
    // Kinds the stored order lacks (all of them when none is stored) follow in default order.
    for (StatKind kind : setting::statOrder.defaultValue) {
        if (!seen.contains(kind)) order.push_back(kind);
    }
    return order;
}

template <typename Value>
std::map<StatKind, Value> loadKindMap(const PreferencesStore& store,
                                      const setting::PerKind<Value>& declared,
                                      std::optional<Value> (*fromRawValue)(std::string_view)) {
    std::map<StatKind, Value> result;
    for (const auto& [rawKind, rawValue] :
         store.stringDictionary(declared.key).value_or(std::map<std::string, std::string>{})) {
        auto kind = statKindFromRawValue(rawKind);
        auto value = fromRawValue(rawValue);
        if (kind && value) result.emplace(*kind, *value);
    }
    return result;
}

double positiveOr(std::optional<double> value, double fallback) {
    return value.value_or(0) > 0 ? *value : fallback;
}

// A positive stored number held to the declared bounds, saying so when it was not within; the
// default when none is stored.
double loadBounded(const PreferencesStore& store, const setting::Bounded& declared) {
    double stored = positiveOr(store.doubleValue(declared.key), declared.defaultValue);
    double used = std::clamp(stored, declared.lowest, declared.highest);
    if (used != stored) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "glintdeck: the stored %.*s %g is out of range; using %g (the file keeps it)",
                      static_cast<int>(declared.key.size()), declared.key.data(), stored, used);
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

HotKeyBinding loadBinding(const PreferencesStore& store, const setting::HotKey& declared) {
    auto code = hotKeyInteger(store, declared.codeKey);
    if (!code) return declared.defaultValue;
    return {*code, hotKeyInteger(store, declared.modifiersKey).value_or(0)};
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

    if (auto enabled = kindSet(store, setting::enabledStats.key)) {
        enabledStats_ = std::move(*enabled);
        // Kinds introduced since the last launch start enabled, once: they are stored back so
        // they stay enabled, and the known kinds stored below keep them from being added again
        // after the user turns them off.
        const auto firstKnown = setting::knownStats.defaultValue;
        auto known = kindSet(store, setting::knownStats.key)
                         .value_or(std::set<StatKind>(firstKnown.begin(), firstKnown.end()));
        bool added = false;
        for (StatKind kind : allStatKinds()) {
            if (!known.contains(kind)) added |= enabledStats_.insert(kind).second;
        }
        if (added) writeEnabledStats();
    } else {
        const auto all = setting::enabledStats.defaultValue;
        enabledStats_ = std::set<StatKind>(all.begin(), all.end());
    }
    store.setStringArray(setting::knownStats.key, rawValues(allStatKinds()));

    tileValueModes_ = loadKindMap(store, setting::tileValueModes, &tileValueModeFromRawValue);
    tileStyles_ = loadKindMap(store, setting::tileStyles, &tileStyleFromRawValue);
    interval_ = loadBounded(store, setting::interval);
    anchor_ = panelAnchorFromRawValue(store.stringValue(setting::anchor.key).value_or(""))
                  .value_or(setting::anchor.defaultValue);

    customPosition_.reset();
    if (store.boolValue(setting::customPosition.flagKey).value_or(false)) {
        auto x = store.doubleValue(setting::customPosition.xKey);
        auto y = store.doubleValue(setting::customPosition.yKey);
        // Without both coordinates there is no usable position; the anchor places the strip.
        if (x && y) customPosition_ = Point{*x, *y};
    }

    stripHeight_ = loadBounded(store, setting::stripHeight);
    hotKey_ = loadBinding(store, setting::hotKey);
    pinHotKey_ = loadBinding(store, setting::pinHotKey);
    hasSeenHint_ =
        store.boolValue(setting::hasSeenHint.key).value_or(setting::hasSeenHint.defaultValue);
    for (AlertWatch watch : kAllAlertWatches) {
        const setting::Declared<bool>& declared = setting::alert(watch);
        alerts_[watchIndex(watch)] = store.boolValue(declared.key).value_or(declared.defaultValue);
    }
    themePreset_ = themePresetFromRawValue(store.stringValue(setting::themePreset.key).value_or(""))
                       .value_or(setting::themePreset.defaultValue);

    customTheme_ = setting::customTheme.defaultValue;
    if (auto data = store.data(setting::customTheme.key)) {
        customTheme_ = decodeThemeData(
            std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    }
}

}  // namespace glintdeck
