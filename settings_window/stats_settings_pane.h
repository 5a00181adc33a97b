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

  private:
    void select(std::optional<StatKind> kind);
    void rebuildForm();
    void refreshPickers();
    void move(int from, int to);

    AppSettings& settings_;
    std::optional<StatKind> selected_;
    StatListView* list_;
    QWidget* form_;
    QVBoxLayout* formLayout_;
    Subscription subscription_;
};

}  // namespace glintdeck
