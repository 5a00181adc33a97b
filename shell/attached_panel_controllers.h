#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "core/stat_kind.h"
#include "shell/attached_panel.h"

namespace glintdeck {

// The detail card of one stat, opened under the pointer where its tile was tapped. The owner
// builds the card's view (a detail view of the store for the kind); showing a card while one
// is open reuses its window with the new content and place. Main thread only.
class DetailPanelController {
  public:
    explicit DetailPanelController(SessionKind session = SessionKind::x11)
        : card_("Glintdeck Detail", session) {}

    void setPanelShape(const CompositingWatcher* compositing, double cornerRadius) {
        card_.setPanelShape(compositing, cornerRadius);
    }

    // Shows the card centred on anchorX (usually the pointer's x) next to the strip's frame.
    void showCard(StatKind kind, std::unique_ptr<QWidget> detailView, Rect stripFrame,
                  double anchorX) {
        card_.show(std::move(detailView), stripFrame, anchorX);
        openKind_ = kind;
    }

    void followStrip(Rect stripFrame) { card_.followStrip(stripFrame); }

    void hideCard() {
        card_.hide();
        openKind_.reset();
    }

    [[nodiscard]] std::optional<StatKind> openKind() const { return openKind_; }
    [[nodiscard]] QWidget* panel() const { return card_.panel(); }

  private:
    AttachedPanel card_;
    std::optional<StatKind> openKind_;
};

// The first-run hint, shown under the middle of the strip. The owner builds the hint view with
// the summon key's display text. Main thread only.
class HintPanelController {
  public:
    explicit HintPanelController(SessionKind session = SessionKind::x11)
        : hint_("Glintdeck Hint", session) {}

    void setPanelShape(const CompositingWatcher* compositing, double cornerRadius) {
        hint_.setPanelShape(compositing, cornerRadius);
    }

    void showHint(std::unique_ptr<QWidget> hintView, Rect stripFrame) {
        hint_.show(std::move(hintView), stripFrame, stripFrame.midX());
    }

    void followStrip(Rect stripFrame) { hint_.followStrip(stripFrame); }
    void hideHint() { hint_.hide(); }

    [[nodiscard]] QWidget* panel() const { return hint_.panel(); }

  private:
    AttachedPanel hint_;
};

}  // namespace glintdeck
