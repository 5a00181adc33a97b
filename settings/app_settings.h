#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "core/change_notifier.h"
#include "core/interval_source.h"
#include "core/stat_kind.h"
#include "settings/alert_watch.h"
#include "settings/hot_key_binding.h"
#include "settings/panel_anchor.h"
#include "settings/preferences_store.h"
#include "settings/reduce_transparency_source.h"
#include "settings/theme.h"
#include "settings/tile_options.h"

namespace glintdeck {

// Every user preference, loaded once from the preferences store and written back to it the
// moment it is assigned, plus the theme in force. Unreadable stored values fall back to their
// defaults field by field, leaving the store untouched.
//
// Every assignment, even of an equal value, writes its keys and runs its callback; subscribers
// hear of a field only when its value really changed. Callbacks run synchronously after the keys
// are written. Main thread only.
class AppSettings final : public IntervalSource {
  public:
    // The observable fields, for subscribers.
    enum class Field {
        statOrder,
        enabledStats,
        tileValueModes,
        tileStyles,
        interval,
        anchor,
        customPosition,
        stripHeight,
        hotKey,
        pinHotKey,
        isPinned,
        hasSeenHint,
        themePreset,
        customTheme,
        alerts,
        theme,
        unsavedChanges,
    };

    // Loads every field (the first launch after an update also enables kinds this version
    // introduced), derives the theme and follows the reduce-transparency source (none: never
    // reduced). The callbacks start unset.
    explicit AppSettings(std::shared_ptr<PreferencesStore> defaults,
                         std::shared_ptr<ReduceTransparencySource> reduceTransparency = nullptr);
    ~AppSettings() override;
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    // The process-wide settings, built on first use (thread-safe) from the store the opener
    // gives. Executables install the opener of the standard preferences file before that first
    // use; without one the settings live in memory only and a line on standard error says so.
    [[nodiscard]] static AppSettings& shared();
    static void setSharedStoreOpener(std::function<std::unique_ptr<PreferencesStore>()> open);

    // Order of tiles in the strip and of rows in the stats pane: every kind, each once.
    [[nodiscard]] const std::vector<StatKind>& statOrder() const { return statOrder_; }
    void setStatOrder(std::vector<StatKind> order);

    [[nodiscard]] const std::set<StatKind>& enabledStats() const { return enabledStats_; }
    void setEnabledStats(std::set<StatKind> kinds);
    void setEnabled(StatKind kind, bool enabled);

    // The user's choices; kinds without an entry use tileValueMode(kind) / tileStyle(kind).
    [[nodiscard]] const std::map<StatKind, TileValueMode>& tileValueModes() const {
        return tileValueModes_;
    }
    void setTileValueModes(std::map<StatKind, TileValueMode> modes);
    [[nodiscard]] const std::map<StatKind, TileStyle>& tileStyles() const { return tileStyles_; }
    void setTileStyles(std::map<StatKind, TileStyle> styles);

    // The entry for kind, else its default (setting::tileValueModes).
    [[nodiscard]] TileValueMode tileValueMode(StatKind kind) const;
    void setTileValueMode(TileValueMode mode, StatKind kind);
    // The entry for kinds with a history (cpu, memory, disk, network, gpu), else its default
    // (setting::tileStyles); every other kind is always text, whatever is stored. Setting accepts
    // any kind.
    [[nodiscard]] TileStyle tileStyle(StatKind kind) const;
    void setTileStyle(TileStyle style, StatKind kind);

    // Sampling period in seconds; loaded within setting::interval's bounds.
    [[nodiscard]] double interval() const override { return interval_; }
    void setInterval(double seconds);

    // Assigning an anchor also clears the custom position.
    [[nodiscard]] PanelAnchor anchor() const { return anchor_; }
    void setAnchor(PanelAnchor anchor);
    // The strip's origin where the user dragged it; when absent the anchor decides.
    [[nodiscard]] const std::optional<Point>& customPosition() const { return customPosition_; }
    void setCustomPosition(std::optional<Point> position);

    // Loaded within setting::stripHeight's bounds.
    [[nodiscard]] double stripHeight() const { return stripHeight_; }
    void setStripHeight(double points);

    [[nodiscard]] HotKeyBinding hotKey() const { return hotKey_; }
    void setHotKey(HotKeyBinding binding);
    [[nodiscard]] HotKeyBinding pinHotKey() const { return pinHotKey_; }
    void setPinHotKey(HotKeyBinding binding);

    // "Keep on Screen"; never stored, false at every start.
    [[nodiscard]] bool isPinned() const { return isPinned_; }
    void setIsPinned(bool pinned);

    [[nodiscard]] bool hasSeenHint() const { return hasSeenHint_; }
    void setHasSeenHint(bool seen);

    // Whether the watch may send a desktop notification.
    [[nodiscard]] bool alertEnabled(AlertWatch watch) const { return alerts_[watchIndex(watch)]; }
    void setAlertEnabled(AlertWatch watch, bool enabled);

    // Assigning either rebuilds the theme.
    [[nodiscard]] ThemePreset themePreset() const { return themePreset_; }
    void setThemePreset(ThemePreset preset);
    [[nodiscard]] const std::optional<ThemeData>& customTheme() const { return customTheme_; }
    void setCustomTheme(std::optional<ThemeData> data);

    // The theme in force. It changes only through refreshTheme: after a preset or custom theme
    // assignment and when the reduce-transparency flag changes.
    [[nodiscard]] const Theme& theme() const { return theme_; }
    void refreshTheme();

    // Replaces the source of the reduce-transparency flag (the shell's, once it can tell) and
    // rebuilds the theme with its answer.
    void setReduceTransparencySource(std::shared_ptr<ReduceTransparencySource> source);

    // The About pane's reset: stats shown and their order, interval, placement, height, hot keys,
    // theme and alert switches return to their defaults, each assignment with its write-back and
    // callback. Value modes, tile styles, the pin state and the hint flag are kept.
    void resetToDefaults();

    // Whether the last change could not be saved (PreferencesStore::hasUnsavedChanges).
    [[nodiscard]] bool hasUnsavedChanges() const { return defaults_->hasUnsavedChanges(); }
    // Why no change can be saved, when that is so (PreferencesStore::whyChangesAreNotSaved).
    [[nodiscard]] const std::string& whyChangesAreNotSaved() const {
        return defaults_->whyChangesAreNotSaved();
    }

    // Notifies of each real change of a field until the subscription ends.
    [[nodiscard]] Subscription subscribe(std::function<void(Field)> onChange);

    // Run after "hotKey", "interval", and any of the four stat fields are written. Unset
    // callbacks are skipped. They may reassign settings, or themselves.
    std::function<void()> onHotKeyChanged;
    std::function<void()> onIntervalChanged;
    std::function<void()> onStatsChanged;

  private:
    void load();
    void observeReduceTransparency();
    void writeStatOrder();
    void writeEnabledStats();
    void changed(bool didChange, Field field);
    static void run(const std::function<void()>& callback);

    std::shared_ptr<PreferencesStore> defaults_;
    std::shared_ptr<ReduceTransparencySource> reduceTransparency_;
    Subscription accessibilityObserver_;
    ChangeNotifier<Field> notifier_;

    // Stored fields, each set by load() from the store or its declaration's default.
    std::vector<StatKind> statOrder_;
    std::set<StatKind> enabledStats_;
    std::map<StatKind, TileValueMode> tileValueModes_;
    std::map<StatKind, TileStyle> tileStyles_;
    double interval_{};
    PanelAnchor anchor_{};
    std::optional<Point> customPosition_;
    double stripHeight_{};
    HotKeyBinding hotKey_;
    HotKeyBinding pinHotKey_;
    bool hasSeenHint_{};
    ThemePreset themePreset_{};
    std::optional<ThemeData> customTheme_;
    std::array<bool, kAllAlertWatches.size()> alerts_{};

    bool isPinned_ = false;
    Theme theme_;
    bool unsavedChanges_ = false;
};

}  // namespace glintdeck
