#include "settings_window/panel_settings_pane.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/linux/session/problem_report.h"
#include "settings/app_settings.h"
#include "settings/setting_declarations.h"
#include "settings_window/alerts_section.h"
#include "settings_window/launch_at_login.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/slider_row.h"
#include "settings_window/switch_button.h"

namespace glintdeck {

PanelSettingsPane::PanelSettingsPane(AppSettings& settings, const SettingsServices& services,
                                     QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services) {
    auto* startup = makeSection(QStringLiteral("Startup"), this);
    loginSwitch_ = new SwitchButton(startup);
    loginSwitch_->setObjectName(QStringLiteral("launchAtLogin"));
    loginSwitch_->setAccessibleName(QStringLiteral("Launch at login"));
    if (services_.loginItem) {
        launchAtLogin_ = services_.loginItem->isEnabled();
    } else {
        loginSwitch_->setEnabled(false);
    }
    loginSwitch_->setChecked(launchAtLogin_);
    // clicked, not toggled: only the user's change runs the rule, never the pane's own update.
    connect(loginSwitch_, &SwitchButton::clicked, this, &PanelSettingsPane::setLaunchAtLogin);
    auto* loginRow = new QHBoxLayout;
    loginRow->addWidget(new QLabel(QStringLiteral("Launch at login"), startup));
    loginRow->addStretch(1);
    loginRow->addWidget(loginSwitch_);
    // Shown as a failed save of the preferences is: a line of text where the change was made.
    loginProblem_ = makeLabel(QString(), TextStyle::caption, false, startup);
    loginProblem_->setObjectName(QStringLiteral("launchAtLoginProblem"));
    loginProblem_->setTextFormat(Qt::PlainText);  // it names paths, which may hold markup
    showLoginProblem(services_.loginItemProblem);
    auto* startupRows = new QVBoxLayout(startup);
    startupRows->addLayout(loginRow);
    startupRows->addWidget(loginProblem_);
    startupRows->addWidget(makeLabel(QStringLiteral("Starts Glintdeck in the background when you "
                                                    "log in, ready for the hotkey."),
                                     TextStyle::caption, true, startup));

    auto* sampling = makeSection(QStringLiteral("Sampling"), this);
    interval_ = new SliderRow(
        QStringLiteral("Refresh interval"), {1, 20, 4},
        [](double value) { return QString::number(value, 'f', 2) + " s"; }, sampling);
    interval_->setObjectName(QStringLiteral("intervalRow"));
    connect(interval_, &SliderRow::valueCommitted, this,
            [this](double value) { settings_.setInterval(value); });
    auto* samplingRows = new QVBoxLayout(sampling);
    samplingRows->addWidget(interval_);

    auto* placement = makeSection(QStringLiteral("Placement"), this);
    anchorPicker_ = new QComboBox(placement);
    anchorPicker_->setObjectName(QStringLiteral("anchorPicker"));
    for (PanelAnchor anchor : allPanelAnchors()) {
        anchorPicker_->addItem(qText(title(anchor)), static_cast<int>(anchor));
    }
    connect(anchorPicker_, &QComboBox::activated, this, [this](int index) {
        settings_.setAnchor(static_cast<PanelAnchor>(anchorPicker_->itemData(index).toInt()));
    });
    stripHeight_ = new SliderRow(
        QStringLiteral("Strip height"),
        {static_cast<int>(setting::stripHeight.lowest),
         static_cast<int>(setting::stripHeight.highest), 1},
        [](double value) { return QString::number(static_cast<int>(value)) + " pt"; }, placement);
    stripHeight_->setObjectName(QStringLiteral("stripHeightRow"));
    connect(stripHeight_, &SliderRow::valueCommitted, this,
            [this](double value) { settings_.setStripHeight(value); });
    auto* placementRows = new QFormLayout(placement);
    placementRows->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    placementRows->addRow(QStringLiteral("Appears"), anchorPicker_);
    if (services_.waylandSession) {
        // Wayland tells an X11 program nothing of the pointer over other programs' windows.
        auto* note = makeLabel(QStringLiteral("On Wayland desktops the pointer's place is not "
                                              "known: “At cursor” shows the strip at the top "
                                              "center of the main screen."),
                               TextStyle::caption, true, placement);
        note->setObjectName(QStringLiteral("anchorWaylandNote"));
        placementRows->addRow(note);
    }
    placementRows->addRow(stripHeight_);
    placementRows->addRow(makeLabel(QStringLiteral("Placement and height apply the next time the "
                                                   "panel is summoned."),
                                    TextStyle::caption, true, placement));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(startup);
    layout->addWidget(sampling);
    layout->addWidget(placement);
    layout->addWidget(new AlertsSection(settings_, this));
    layout->addStretch(1);

    refresh();
    subscription_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::interval || field == AppSettings::Field::anchor ||
            field == AppSettings::Field::stripHeight) {
            refresh();
        }
    });
}

void PanelSettingsPane::setLaunchAtLogin(bool wanted) {
    if (!services_.loginItem) return;
    LaunchAtLoginChange change = applyLaunchAtLogin(*services_.loginItem, wanted);
    launchAtLogin_ = change.enabled;
    {
        QSignalBlocker blocker(loginSwitch_);
        loginSwitch_->setChecked(launchAtLogin_);
    }
    showLoginProblem(change.problem);
    if (change.problem.empty()) return;
    if (services_.log) {
        services_.log(change.problem);
    } else {
        reportProblem(change.problem);
    }
}

void PanelSettingsPane::showLoginProblem(const std::string& problem) {
    loginProblem_->setText(QString::fromStdString(problem));
    loginProblem_->setVisible(!problem.empty());
}

void PanelSettingsPane::refresh() {
    interval_->setValue(settings_.interval());
    stripHeight_->setValue(settings_.stripHeight());
    selectData(*anchorPicker_, settings_.anchor());
}

}  // namespace glintdeck
