#include "settings_window/settings_view.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "settings/app_settings.h"
#include "settings_window/about_settings_pane.h"
#include "settings_window/appearance_settings_pane.h"
#include "settings_window/hotkey_settings_pane.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/panel_settings_pane.h"
#include "settings_window/stat_list_view.h"
#include "settings_window/stats_settings_pane.h"
#include "settings_window/symbol_icon.h"

namespace glintdeck {

SettingsView::SettingsView(AppSettings& settings, const SettingsServices& services, QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services) {
    auto* sidebarColumn = new QWidget(this);
    sidebarColumn->setFixedWidth(180);
    sidebar_ = new QListWidget(sidebarColumn);
    sidebar_->setObjectName(QStringLiteral("sidebar"));
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(18, 18));
    sidebar_->setSpacing(1);
    auto* sidebarLayout = new QVBoxLayout(sidebarColumn);
    sidebarLayout->setContentsMargins(8, 10, 8, 8);
    sidebarLayout->addWidget(sidebar_);
    for (SettingsPane pane : allSettingsPanes()) {
        auto* row = new QListWidgetItem(qText(title(pane)), sidebar_);
        row->setData(Qt::UserRole, static_cast<int>(pane));
        row->setSizeHint(QSize(0, 30));
    }
    refreshIcons();
    sidebar_->setCurrentRow(static_cast<int>(*selection_));
    connect(sidebar_, &QListWidget::itemSelectionChanged, this, [this] {
        QList<QListWidgetItem*> selected = sidebar_->selectedItems();
        select(selected.isEmpty() ? std::nullopt
                                  : std::optional(static_cast<SettingsPane>(
                                        selected.front()->data(Qt::UserRole).toInt())));
    });

    detail_ = new QWidget(this);
    detail_->setMinimumSize(480, 420);
    auto* detailLayout = new QVBoxLayout(detail_);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    // The only changes made while the window shows are the shown pane's, so the notice sits
    // under it, whichever pane it is.
    saveNotice_ = makeLabel(QString(), TextStyle::caption, false, detail_);
    saveNotice_->setObjectName(QStringLiteral("saveNotice"));
    saveNotice_->setContentsMargins(20, 0, 20, 12);
    refreshSaveNotice();
    detailLayout->addWidget(saveNotice_);
    saving_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::unsavedChanges) refreshSaveNotice();
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sidebarColumn);
    layout->addWidget(makeDivider(true, this));
    layout->addWidget(detail_, 1);
    showPane();
}

void SettingsView::select(std::optional<SettingsPane> pane) {
    if (pane == selection_) return;
    selection_ = pane;
    {
        QSignalBlocker blocker(sidebar_);
        if (pane) {
            sidebar_->setCurrentRow(static_cast<int>(*pane));
        } else {
            sidebar_->clearSelection();
        }
    }
    showPane();
}

SettingsViewState SettingsView::viewState() const {
    SettingsViewState state{.selection = selection_};
    if (auto* stats = qobject_cast<StatsSettingsPane*>(pane_)) {
        state.selectedStat = stats->selected();
        state.statListScroll = stats->firstRowShown();
    } else if (auto* appearance = qobject_cast<AppearanceSettingsPane*>(pane_)) {
        state.customizeOpen = appearance->isCustomizeOpen();
    }
    return state;
}

void SettingsView::restore(const SettingsViewState& state) {
    select(state.selection);
    if (auto* stats = qobject_cast<StatsSettingsPane*>(pane_)) {
        stats->list()->selectKind(state.selectedStat);
        stats->showFromRowWhenShown(state.statListScroll);
    } else if (auto* appearance = qobject_cast<AppearanceSettingsPane*>(pane_)) {
        appearance->setCustomizeOpen(state.customizeOpen);
    }
}

void SettingsView::showPane() {
    // Only the sidebar calls this from a signal; the pane and its controls can go at once.
    delete pane_;
    switch (selection_.value_or(SettingsPane::stats)) {
        case SettingsPane::stats:
            pane_ = new StatsSettingsPane(settings_, detail_);
            break;
        case SettingsPane::appearance:
            pane_ = new AppearanceSettingsPane(settings_, detail_);
            break;
        case SettingsPane::panel:
            pane_ = new PanelSettingsPane(settings_, services_, detail_);
            break;
        case SettingsPane::hotkeys:
            pane_ = new HotkeySettingsPane(settings_, services_, detail_);
            break;
        case SettingsPane::about:
            pane_ = new AboutSettingsPane(settings_, services_, detail_);
            break;
    }
    static_cast<QVBoxLayout*>(detail_->layout())->insertWidget(0, pane_, 1);
    pane_->show();
}

void SettingsView::refreshSaveNotice() {
    const std::string& why = settings_.whyChangesAreNotSaved();
    saveNotice_->setText(
        why.empty() ? QStringLiteral("This change could not be saved to the preferences file. It "
                                     "holds until Glintdeck quits; the next change tries again.")
                    : QStringLiteral("Changes are not saved: ") + qText(why) +
                          QStringLiteral(". They hold until Glintdeck quits."));
    saveNotice_->setVisible(settings_.hasUnsavedChanges());
}

void SettingsView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) refreshIcons();
    QWidget::changeEvent(event);
}

void SettingsView::refreshIcons() {
    QColor color = palette().color(QPalette::Highlight);
    QColor selected = palette().color(QPalette::HighlightedText);
    for (int row = 0; row < sidebar_->count(); ++row) {
        auto pane = static_cast<SettingsPane>(sidebar_->item(row)->data(Qt::UserRole).toInt());
        sidebar_->item(row)->setIcon(symbolIcon(symbolName(pane), color, selected));
    }
}

}  // namespace glintdeck
