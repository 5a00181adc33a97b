#pragma once

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

#include "core/change_notifier.h"
#include "core/stat_kind.h"
#include "presentation/descriptors.h"
#include "settings/app_settings.h"
#include "views/first_run_hint_view.h"
#include "views/hud_style.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {

class StatsStore;

// Keeps the HUD views on screen in step with the store, the settings and the desktop: the strip,
// the open detail card and the hint. Changes are coalesced, so a burst of samples in one turn of
// the event loop computes the descriptors once, and nothing is computed while no view is shown
// (the hidden HUD costs one callback per sample). Views are owned by their panels; the feed
// only points at them and forgets them when they are deleted. Main thread only.
class HudFeed final : public QObject {
  public:
    HudFeed(StatsStore& store, AppSettings& settings, DescriptorEnvironment environment);

    // The desktop side of the style: dark or light, and whether panels must paint opaque.
    void setAppearance(Appearance appearance);
    void setOpaqueBackground(bool opaque);
    [[nodiscard]] HudStyle style() const;

    // Builds a view filled with the current values; the caller hands it to a panel.
    [[nodiscard]] std::unique_ptr<StatsStripView> makeStrip();
    [[nodiscard]] std::unique_ptr<StatDetailView> makeCard(StatKind kind);
    // boundTrigger: the summon key as a desktop bound it, shown instead of the stored one.
    [[nodiscard]] std::unique_ptr<FirstRunHintView> makeHint(const QString& boundTrigger = {});

  private:
    void changed();
    void refresh();
    void restyle();
    void fillStrip(StatsStripView& strip, const std::vector<StatDescriptor>& current);
    void fillCard(StatDetailView& card, const std::vector<StatDescriptor>& current);
    [[nodiscard]] bool anyViewShown() const { return strip_ || card_; }
    [[nodiscard]] DetailKinds detailKinds() const;

    StatsStore& store_;
    AppSettings& settings_;
    DescriptorEnvironment environment_;
    Appearance appearance_ = Appearance::dark;
    bool opaqueBackground_ = false;
    QPointer<StatsStripView> strip_;
    QPointer<StatDetailView> card_;
    StatKind cardKind_ = StatKind::cpu;
    QPointer<FirstRunHintView> hint_;
    bool refreshPending_ = false;
    Subscription storeSubscription_;
    Subscription settingsSubscription_;
};

}  // namespace glintdeck
