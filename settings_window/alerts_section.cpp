#include "settings_window/alerts_section.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "settings/app_settings.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/switch_button.h"

namespace glintdeck {
namespace {

struct WatchTexts {
    const char* objectName;
    const char* title;
};

WatchTexts textsOf(AlertWatch watch) {
    switch (watch) {
        case AlertWatch::overheating:
            return {"alertOverheating", "The processor overheats"};
        case AlertWatch::runawayProcess:
            return {"alertRunawayProcess", "A process keeps a core busy for 5 minutes"};
        case AlertWatch::memoryPressure:
            break;
    }
    return {"alertMemoryPressure", "Programs wait for memory"};
}

}  // namespace

AlertsSection::AlertsSection(AppSettings& settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Alerts"), parent), settings_(settings) {
    auto* rows = new QGridLayout(this);
    int row = 0;
    for (AlertWatch watch : kAllAlertWatches) {
        const WatchTexts texts = textsOf(watch);
        auto* button = new SwitchButton(this);
        button->setObjectName(QString::fromLatin1(texts.objectName));
        button->setAccessibleName(QString::fromLatin1(texts.title));
        // clicked, not toggled: refreshing from the settings writes nothing back.
        connect(button, &SwitchButton::clicked, this,
                [this, watch](bool on) { settings_.setAlertEnabled(watch, on); });
        rows->addWidget(new QLabel(QString::fromLatin1(texts.title), this), row, 0);
        rows->addWidget(button, row++, 1, Qt::AlignRight);
        switches_[watchIndex(watch)] = button;
    }
    rows->addWidget(makeLabel(QStringLiteral("A desktop notification, once, while the strip is "
                                             "hidden; “Show” opens the stat's card."),
                              TextStyle::caption, true, this),
                    row, 0, 1, 2);
    refresh();
    subscription_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::alerts) refresh();
    });
}

void AlertsSection::refresh() {
    for (AlertWatch watch : kAllAlertWatches) {
        SwitchButton* button = switches_[watchIndex(watch)];
        QSignalBlocker blocker(button);
        button->setChecked(settings_.alertEnabled(watch));
    }
}

}  // namespace glintdeck
