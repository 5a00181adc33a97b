#include "settings_window/stats_settings_pane.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <utility>

#include "presentation/stat_kind_text.h"
#include "presentation/tile_value.h"
#include "settings/app_settings.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/stat_list_view.h"

namespace glintdeck {

StatsSettingsPane::StatsSettingsPane(AppSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    auto* caption = makeLabel(
        QStringLiteral("Drag to reorder · toggle to show or hide · select a stat to configure it"),
        TextStyle::caption, true, this);

    list_ = new StatListView(this);
    list_->setObjectName(QStringLiteral("statList"));
    list_->setFixedWidth(230);
    list_->setStats(settings_.statOrder(), settings_.enabledStats());
    connect(list_, &StatListView::moveRequested, this, &StatsSettingsPane::move);
    connect(list_, &StatListView::enabledToggled, this,
            [this](StatKind kind, bool enabled) { settings_.setEnabled(kind, enabled); });
    connect(list_, &StatListView::selectedKindChanged, this, &StatsSettingsPane::select);

    form_ = new QWidget(this);
    formLayout_ = new QVBoxLayout(form_);
    formLayout_->setContentsMargins(12, 12, 12, 12);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(0);
    columns->addWidget(list_);
    columns->addWidget(makeDivider(true, this));
    columns->addWidget(form_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 0);
    layout->setSpacing(8);
    auto* captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(14, 0, 14, 0);
    captionRow->addWidget(caption);
    layout->addLayout(captionRow);
    layout->addWidget(makeDivider(false, this));
    layout->addLayout(columns, 1);

    rebuildForm();
    subscription_ = settings_.subscribe([this](AppSettings::Field field) {
        switch (field) {
            case AppSettings::Field::statOrder:
            case AppSettings::Field::enabledStats:
                list_->setStats(settings_.statOrder(), settings_.enabledStats());
                break;
            case AppSettings::Field::tileValueModes:
            case AppSettings::Field::tileStyles:
                refreshPickers();
                break;
            default:
                break;
        }
    });
}

int StatsSettingsPane::firstRowShown() const {
    return rowToShow_.value_or(list_->verticalScrollBar()->value());
}

void StatsSettingsPane::showFromRowWhenShown(int row) { rowToShow_ = row; }

void StatsSettingsPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (rowToShow_) list_->verticalScrollBar()->setValue(*std::exchange(rowToShow_, std::nullopt));
}

void StatsSettingsPane::move(int from, int to) {
    // Written even when the row lands where it was: every drop writes the order.
    settings_.setStatOrder(movedOrder(settings_.statOrder(), from, to));
}

void StatsSettingsPane::select(std::optional<StatKind> kind) {
    if (kind == selected_) return;
    selected_ = kind;
    rebuildForm();
}

void StatsSettingsPane::rebuildForm() {
    // Never called from a signal of the form's own controls, so they can go at once.
    while (QLayoutItem* item = formLayout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!selected_) {
        auto* prompt = makeLabel(QStringLiteral("Select a stat"), TextStyle::callout, true, form_);
        prompt->setObjectName(QStringLiteral("selectPrompt"));
        prompt->setAlignment(Qt::AlignCenter);
        formLayout_->addWidget(prompt, 1);
        return;
    }
    StatKind kind = *selected_;
    auto* section = makeSection(qText(title(kind)), form_);
    auto* rows = new QFormLayout(section);
    rows->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    if (std::optional<TwoValueNames> names = twoValueNames(kind)) {
        auto* picker = new QComboBox(section);
        picker->setObjectName(QStringLiteral("valuePicker"));
        for (TileValueMode mode : allTileValueModes()) {
            picker->addItem(
                QString::fromStdString(title(mode, names->first.label, names->second.label)),
                static_cast<int>(mode));
        }
        connect(picker, &QComboBox::activated, this, [this, picker, kind](int index) {
            settings_.setTileValueMode(static_cast<TileValueMode>(picker->itemData(index).toInt()),
                                       kind);
        });
        rows->addRow(QStringLiteral("Value"), picker);
    }
    if (hasHistory(kind)) {
        auto* picker = new QComboBox(section);
        picker->setObjectName(QStringLiteral("stripPicker"));
        for (TileStyle style : allTileStyles()) {
            picker->addItem(qText(title(style)), static_cast<int>(style));
        }
        connect(picker, &QComboBox::activated, this, [this, picker, kind](int index) {
            settings_.setTileStyle(static_cast<TileStyle>(picker->itemData(index).toInt()), kind);
        });
        rows->addRow(QStringLiteral("Strip"), picker);
        rows->addRow(makeLabel(QStringLiteral("The detail card always shows the graph."),
                               TextStyle::caption, true, section));
    } else {
        auto* caption =
            makeLabel(QStringLiteral("This stat has a single value and no history to plot."),
                      TextStyle::caption, true, section);
        caption->setObjectName(QStringLiteral("singleValueCaption"));
        rows->addRow(caption);
    }
    formLayout_->addWidget(section);
    formLayout_->addStretch(1);
    refreshPickers();
}

void StatsSettingsPane::refreshPickers() {
    if (!selected_) return;
    if (auto* picker = form_->findChild<QComboBox*>(QStringLiteral("valuePicker"))) {
        selectData(*picker, settings_.tileValueMode(*selected_));
    }
    if (auto* picker = form_->findChild<QComboBox*>(QStringLiteral("stripPicker"))) {
        selectData(*picker, settings_.tileStyle(*selected_));
    }
}

}  // namespace glintdeck
