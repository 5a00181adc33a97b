#pragma once

#include <QWidget>
#include <optional>

#include "core/change_notifier.h"
#include "core/stat_kind.h"

class QVBoxLayout;

namespace glintdeck {

class AppSettings;
class StatListView;

// The stats pane: the list of every kind in the user's order (switch, icon, title; drag to
// reorder) beside the configuration form of the selected kind: a "Value" picker for kinds with
// two values, a "Strip" picker for kinds with a history, a caption for the rest. Follows the
// settings while it is shown.
class StatsSettingsPane final : public QWidget {
    Q_OBJECT

  public:
    explicit StatsSettingsPane(AppSettings& settings, QWidget* parent = nullptr);

    [[nodiscard]] std::optional<StatKind> selected() const { return selected_; }
    [[nodiscard]] StatListView* list() const { return list_; }

    // The first row the list shows (it scrolls by rows), and the one to scroll to as the pane
    // shows next: only a list of its final size has the range to scroll in.
    [[nodiscard]] int firstRowShown() const;
    void showFromRowWhenShown(int row);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void select(std::optional<StatKind> kind);
    void rebuildForm();
    void refreshPickers();
    void move(int from, int to);

    AppSettings& settings_;
    std::optional<StatKind> selected_;
    std::optional<int> rowToShow_;
    StatListView* list_;
    QWidget* form_;
    QVBoxLayout* formLayout_;
    Subscription subscription_;
};

}  // namespace glintdeck
