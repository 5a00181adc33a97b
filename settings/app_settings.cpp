#include "settings/app_settings.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "settings/setting_declarations.h"

namespace glintdeck {
namespace {

std::mutex& openerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<std::unique_ptr<PreferencesStore>()>& sharedStoreOpener() {
    static std::function<std::unique_ptr<PreferencesStore>()> opener;
    return opener;
}

std::unique_ptr<PreferencesStore> openSharedStore() {
    std::function<std::unique_ptr<PreferencesStore>()> open;
    {
        std::lock_guard lock(openerMutex());
        open = sharedStoreOpener();
    }
    if (auto store = open ? open() : nullptr) return store;
    std::fprintf(stderr, "glintdeck: no preferences file; settings will not be saved\n");
    return PreferencesStore::inMemory();
}

template <typename Value>
std::map<std::string, std::string> rawMap(const std::map<StatKind, Value>& map) {
    std::map<std::string, std::string> raws;
    for (const auto& [kind, value] : map) raws.emplace(rawValue(kind), rawValue(value));
    return raws;
}

template <typename T>
bool replace(T& field, T value) {
    bool differs = !(field == value);
    field = std::move(value);
    return differs;
}

}  // namespace

AppSettings::AppSettings(std::shared_ptr<PreferencesStore> defaults,
                         std::shared_ptr<ReduceTransparencySource> reduceTransparency)
    : defaults_(std::move(defaults)),
      reduceTransparency_(reduceTransparency ? std::move(reduceTransparency)
                                             : std::make_shared<NoReduceTransparency>()) {
    load();
    unsavedChanges_ = defaults_->hasUnsavedChanges();
    theme_ = Theme::make(themePreset_, customTheme_, reduceTransparency_->reduceTransparency());
    observeReduceTransparency();
}

AppSettings::~AppSettings() = default;

AppSettings& AppSettings::shared() {
    // Never destroyed: views and the shell may still read it while statics are torn down at exit,
    // and its reduce-transparency source may belong to a toolkit that is already gone by then.
    static AppSettings* settings = new AppSettings(openSharedStore());
    return *settings;
}

void AppSettings::setSharedStoreOpener(std::function<std::unique_ptr<PreferencesStore>()> open) {
    std::lock_guard lock(openerMutex());
    sharedStoreOpener() = std::move(open);
}

void AppSettings::observeReduceTransparency() {
    // The subscription ends with this object, so the callback never outlives it.
    accessibilityObserver_ = reduceTransparency_->subscribe([this] { refreshTheme(); });
}

void AppSettings::setReduceTransparencySource(std::shared_ptr<ReduceTransparencySource> source) {
    accessibilityObserver_.reset();
    reduceTransparency_ = source ? std::move(source) : std::make_shared<NoReduceTransparency>();
    observeReduceTransparency();
    refreshTheme();
}

Subscription AppSettings::subscribe(std::function<void(Field)> onChange) {
    return notifier_.subscribe(std::move(onChange));
}

void AppSettings::changed(bool didChange, Field field) {
    if (didChange) notifier_.notify(field);
    // Every assignment that writes ends here, so here the saving state is followed.
    if (replace(unsavedChanges_, defaults_->hasUnsavedChanges())) {
        notifier_.notify(Field::unsavedChanges);
    }
}

void AppSettings::run(const std::function<void()>& callback) {
    // A copy, so a callback that replaces itself is not destroyed while it runs.
    if (auto copy = callback) copy();
}

void AppSettings::writeStatOrder() {
    std::vector<std::string> raws;
    for (StatKind kind : statOrder_) raws.emplace_back(rawValue(kind));
    defaults_->setStringArray(setting::statOrder.key, raws);
}

void AppSettings::writeEnabledStats() {
    std::vector<std::string> raws;
    for (StatKind kind : enabledStats_) raws.emplace_back(rawValue(kind));
    defaults_->setStringArray(setting::enabledStats.key, raws);
}

void AppSettings::setStatOrder(std::vector<StatKind> order) {
    bool didChange = replace(statOrder_, std::move(order));
    writeStatOrder();
    changed(didChange, Field::statOrder);
    run(onStatsChanged);
}

void AppSettings::setEnabledStats(std::set<StatKind> kinds) {
    bool didChange = replace(enabledStats_, std::move(kinds));
    writeEnabledStats();
    changed(didChange, Field::enabledStats);
    run(onStatsChanged);
}

void AppSettings::setEnabled(StatKind kind, bool enabled) {
    std::set<StatKind> kinds = enabledStats_;
    if (enabled) {
        kinds.insert(kind);
    } else {
        kinds.erase(kind);
    }
    setEnabledStats(std::move(kinds));
}

void AppSettings::setTileValueModes(std::map<StatKind, TileValueMode> modes) {
    bool didChange = replace(tileValueModes_, std::move(modes));
    defaults_->setStringDictionary(setting::tileValueModes.key, rawMap(tileValueModes_));
    changed(didChange, Field::tileValueModes);
    run(onStatsChanged);
}

void AppSettings::setTileStyles(std::map<StatKind, TileStyle> styles) {
    bool didChange = replace(tileStyles_, std::move(styles));
    defaults_->setStringDictionary(setting::tileStyles.key, rawMap(tileStyles_));
    changed(didChange, Field::tileStyles);
    run(onStatsChanged);
}

TileValueMode AppSettings::tileValueMode(StatKind kind) const {
    if (auto found = tileValueModes_.find(kind); found != tileValueModes_.end()) {
        return found->second;
    }
    return setting::tileValueModes.defaultFor(kind);
}

void AppSettings::setTileValueMode(TileValueMode mode, StatKind kind) {
    auto modes = tileValueModes_;
    modes[kind] = mode;
    setTileValueModes(std::move(modes));
}

TileStyle AppSettings::tileStyle(StatKind kind) const {
    if (!hasHistory(kind)) return TileStyle::text;
    if (auto found = tileStyles_.find(kind); found != tileStyles_.end()) return found->second;
    return setting::tileStyles.defaultFor(kind);
}

void AppSettings::setTileStyle(TileStyle style, StatKind kind) {
    auto styles = tileStyles_;
    styles[kind] = style;
    setTileStyles(std::move(styles));
}

void AppSettings::setInterval(double seconds) {
    bool didChange = replace(interval_, seconds);
    defaults_->setDouble(setting::interval.key, interval_);
    changed(didChange, Field::interval);
    run(onIntervalChanged);
}

void AppSettings::setAnchor(PanelAnchor anchor) {
    bool didChange = replace(anchor_, anchor);
    defaults_->setString(setting::anchor.key, rawValue(anchor_));
    changed(didChange, Field::anchor);
    setCustomPosition(std::nullopt);
}

void AppSettings::setCustomPosition(std::optional<Point> position) {
    bool didChange = replace(customPosition_, position);
    // One write for the three keys, so a crash cannot leave a flag without its coordinates.
    defaults_->batch([&] {
        if (customPosition_) {
            defaults_->setDouble(setting::customPosition.xKey, customPosition_->x);
            defaults_->setDouble(setting::customPosition.yKey, customPosition_->y);
            defaults_->setBool(setting::customPosition.flagKey, true);
        } else {
            defaults_->remove(setting::customPosition.xKey);
            defaults_->remove(setting::customPosition.yKey);
            defaults_->setBool(setting::customPosition.flagKey, false);
        }
    });
    changed(didChange, Field::customPosition);
}

void AppSettings::setStripHeight(double points) {
    bool didChange = replace(stripHeight_, points);
    defaults_->setDouble(setting::stripHeight.key, stripHeight_);
    changed(didChange, Field::stripHeight);
}

void AppSettings::setHotKey(HotKeyBinding binding) {
    bool didChange = replace(hotKey_, binding);
    defaults_->batch([&] {
        defaults_->setInteger(setting::hotKey.codeKey, hotKey_.keyCode);
        defaults_->setInteger(setting::hotKey.modifiersKey, hotKey_.modifiers);
    });
    changed(didChange, Field::hotKey);
    run(onHotKeyChanged);
}

void AppSettings::setPinHotKey(HotKeyBinding binding) {
    bool didChange = replace(pinHotKey_, binding);
    defaults_->batch([&] {
        defaults_->setInteger(setting::pinHotKey.codeKey, pinHotKey_.keyCode);
        defaults_->setInteger(setting::pinHotKey.modifiersKey, pinHotKey_.modifiers);
    });
    changed(didChange, Field::pinHotKey);
}

void AppSettings::setIsPinned(bool pinned) { changed(replace(isPinned_, pinned), Field::isPinned); }

void AppSettings::setHasSeenHint(bool seen) {
    bool didChange = replace(hasSeenHint_, seen);
    defaults_->setBool(setting::hasSeenHint.key, hasSeenHint_);
    changed(didChange, Field::hasSeenHint);
}

void AppSettings::setAlertEnabled(AlertWatch watch, bool enabled) {
    bool didChange = replace(alerts_[watchIndex(watch)], enabled);
    defaults_->setBool(setting::alert(watch).key, enabled);
    changed(didChange, Field::alerts);
}

void AppSettings::setThemePreset(ThemePreset preset) {
    bool didChange = replace(themePreset_, preset);
    defaults_->setString(setting::themePreset.key, rawValue(themePreset_));
    changed(didChange, Field::themePreset);
    refreshTheme();
}

void AppSettings::setCustomTheme(std::optional<ThemeData> data) {
    bool didChange = replace(customTheme_, std::move(data));
    if (customTheme_) {
        std::string json = encodeThemeData(*customTheme_);
        defaults_->setData(setting::customTheme.key,
                           PreferencesStore::Data(json.begin(), json.end()));
    } else {
        defaults_->remove(setting::customTheme.key);
    }
    changed(didChange, Field::customTheme);
    refreshTheme();
}

void AppSettings::refreshTheme() {
    Theme theme =
        Theme::make(themePreset_, customTheme_, reduceTransparency_->reduceTransparency());
    changed(replace(theme_, std::move(theme)), Field::theme);
}

void AppSettings::resetToDefaults() {
    const auto order = setting::statOrder.defaultValue;
    const auto enabled = setting::enabledStats.defaultValue;
    setStatOrder(std::vector<StatKind>(order.begin(), order.end()));
    setEnabledStats(std::set<StatKind>(enabled.begin(), enabled.end()));
    setInterval(setting::interval.defaultValue);
    // Also clears the custom position.
    setAnchor(setting::anchor.defaultValue);
    setStripHeight(setting::stripHeight.defaultValue);
    setHotKey(setting::hotKey.defaultValue);
    setPinHotKey(setting::pinHotKey.defaultValue);
    setThemePreset(setting::themePreset.defaultValue);
    setCustomTheme(setting::customTheme.defaultValue);
    for (AlertWatch watch : kAllAlertWatches) {
        setAlertEnabled(watch, setting::alert(watch).defaultValue);
    }
}

}  // namespace glintdeck
