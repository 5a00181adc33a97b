#include "app/hud_feed.h"

#include <QTimer>
#include <algorithm>

#include "core/stats_store.h"
#include "settings/key_text.h"

namespace glintdeck {

HudFeed::HudFeed(StatsStore& store, AppSettings& settings, DescriptorEnvironment environment)
    : store_(store), settings_(settings), environment_(std::move(environment)) {
    storeSubscription_ = store_.subscribe([this](StoreField) { changed(); });
    settingsSubscription_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::theme) restyle();
        changed();
    });
}

void HudFeed::setAppearance(Appearance appearance) {
    if (appearance_ == appearance) return;
    appearance_ = appearance;
    restyle();
}

void HudFeed::setOpaqueBackground(bool opaque) {
    if (opaqueBackground_ == opaque) return;
    opaqueBackground_ = opaque;
    restyle();
}

HudStyle HudFeed::style() const {
    return HudStyle{settings_.theme(), appearance_, opaqueBackground_};
}

std::unique_ptr<StatsStripView> HudFeed::makeStrip() {
    auto strip = std::make_unique<StatsStripView>();
    strip->setStyle(style());
    fillStrip(*strip, descriptors(store_, settings_, environment_, detailKinds()));
    strip_ = strip.get();
    return strip;
}

std::unique_ptr<StatDetailView> HudFeed::makeCard(StatKind kind) {
    auto card = std::make_unique<StatDetailView>();
    card->setStyle(style());
    card_ = card.get();
    cardKind_ = kind;
    fillCard(*card, descriptors(store_, settings_, environment_, detailKinds()));
    return card;
}

std::unique_ptr<FirstRunHintView> HudFeed::makeHint(const QString& boundTrigger) {
    auto hint = std::make_unique<FirstRunHintView>(
        !boundTrigger.isEmpty() ? boundTrigger
                                : QString::fromStdString(keyText(settings_.hotKey())));
    hint->setStyle(style());
    hint_ = hint.get();
    return hint;
}

void HudFeed::changed() {
    if (refreshPending_ || !anyViewShown()) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void HudFeed::refresh() {
    refreshPending_ = false;
    if (!anyViewShown()) return;
    // One list for every view: building descriptors advances the store's bands and peaks.
    const std::vector<StatDescriptor> current =
        descriptors(store_, settings_, environment_, detailKinds());
    if (strip_) fillStrip(*strip_, current);
    if (card_) fillCard(*card_, current);
}

DetailKinds HudFeed::detailKinds() const {
    // Only the open card shows detail rows; the strip needs none.
    return card_ ? DetailKinds::only(cardKind_) : DetailKinds::none();
}

void HudFeed::restyle() {
    const HudStyle hudStyle = style();
    if (strip_) strip_->setStyle(hudStyle);
    if (card_) card_->setStyle(hudStyle);
    if (hint_) hint_->setStyle(hudStyle);
}

void HudFeed::fillStrip(StatsStripView& strip, const std::vector<StatDescriptor>& current) {
    strip.setStripHeight(settings_.stripHeight());
    strip.setPinned(settings_.isPinned());
    strip.setDescriptors(current, [this](StatKind kind) { return settings_.tileStyle(kind); });
}

void HudFeed::fillCard(StatDetailView& card, const std::vector<StatDescriptor>& current) {
    auto match = std::find_if(current.begin(), current.end(),
                              [this](const StatDescriptor& d) { return d.kind == cardKind_; });
    card.setDescriptor(match == current.end() ? std::nullopt
                                              : std::optional<StatDescriptor>(*match));
}

}  // namespace glintdeck
