#pragma once

#include <QWidget>
#include <optional>

#include "core/change_notifier.h"
#include "settings_window/settings_pane.h"
#include "settings_window/settings_services.h"
#include "settings_window/settings_view_state.h"

class QLabel;
class QListWidget;

namespace glintdeck {

class AppSettings;

// The window's content: the sidebar of the five panes and the selected pane beside it. A pane
// is built afresh each time it is selected, so its own state (the selected stat, an open
// confirmation) starts over after another pane was shown, and lives on while the window is
// merely closed and shown again. Under the pane, a notice says when changes could not be saved,
// and why where the reason lasts (a preferences file linked from elsewhere is never written).
class SettingsView final : public QWidget {
    Q_OBJECT

  public:
    SettingsView(AppSettings& settings, const SettingsServices& services,
                 QWidget* parent = nullptr);

    // The sidebar's selection; nothing selected shows the stats pane.
    [[nodiscard]] std::optional<SettingsPane> selection() const { return selection_; }
    void select(std::optional<SettingsPane> pane);

    // What the view shows, to carry over to a view built again.
    [[nodiscard]] SettingsViewState viewState() const;
    void restore(const SettingsViewState& state);

    [[nodiscard]] QWidget* pane() const { return pane_; }
    [[nodiscard]] QListWidget* sidebar() const { return sidebar_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void showPane();
    void refreshIcons();
    void refreshSaveNotice();

    AppSettings& settings_;
    const SettingsServices& services_;
    std::optional<SettingsPane> selection_ = SettingsPane::stats;
    QListWidget* sidebar_;
    QWidget* detail_;
    QWidget* pane_ = nullptr;
    QLabel* saveNotice_;
    Subscription saving_;
};

}  // namespace glintdeck
