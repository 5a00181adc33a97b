#include "settings_window/hotkey_settings_pane.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "settings/app_settings.h"
#include "settings/key_text.h"
#include "settings_window/desktop_keys_section.h"
#include "settings_window/pane_widgets.h"

namespace glintdeck {
namespace {

QString refusalText(HotKeyRefusal refusal) {
    switch (refusal) {
        case HotKeyRefusal::heldElsewhere:
            return QStringLiteral("In use by another program");
        case HotKeyRefusal::heldByOwnKey:
            return QStringLiteral("Already a Glintdeck key (Keep on Screen, Esc or Super+,)");
        case HotKeyRefusal::noSuperKey:
            return QStringLiteral("This keyboard has no Super key");
        case HotKeyRefusal::noAltKey:
            return QStringLiteral("This keyboard has no Alt key");
        case HotKeyRefusal::noSuchKey:
            return QStringLiteral("This keyboard has no such key");
        case HotKeyRefusal::noDisplay:
            return QStringLiteral("Global keys need an X display");
    }
    return {};
}

}  // namespace

HotkeySettingsPane::HotkeySettingsPane(AppSettings& settings, const SettingsServices& services,
                                       QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services) {
    auto* section = makeSection(QStringLiteral("Global Hotkey"), this);
    rows_ = new QFormLayout(section);
    QFormLayout* rows = rows_;
    rows->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    refused_ = makeLabel(QString(), TextStyle::caption, false, section);
    refused_->setObjectName(QStringLiteral("summonRefused"));
    refused_->setWordWrap(false);
    if (services_.desktopKeys) {
        // A Wayland session: the desktop owns the keys, and nothing here can record one.
        rows->addRow(new DesktopKeysSection(services_.desktopKeys, section));
        refused_->hide();
    } else {
        addRecorders();
    }
    rows->addRow(makeLabel(QStringLiteral("“Keep on screen” works while the panel is showing; it "
                                          "also lives in the strip’s right-click menu."),
                           TextStyle::caption, true, section));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(section);
    layout->addStretch(1);

    refreshRefused();
    subscription_ = settings_.subscribe([this](AppSettings::Field field) {
        // Subscribers hear of the change before the settings' callback re-registers the key.
        if (field == AppSettings::Field::hotKey) {
            QMetaObject::invokeMethod(this, &HotkeySettingsPane::refreshRefused,
                                      Qt::QueuedConnection);
        }
    });
}

void HotkeySettingsPane::addRecorders() {
    QWidget* summon = makeRecorder(settings_.hotKey(), [this](HotKeyBinding binding) {
        settings_.setHotKey(binding);
        // The settings' callback has re-registered the key by now.
        refreshRefused();
    });
    summon->setObjectName(QStringLiteral("summonRecorder"));
    rows_->addRow(QStringLiteral("Summon panel"), summon);

    QPalette warning = refused_->palette();
    warning.setColor(QPalette::WindowText, QColor(0xe0, 0x80, 0x00));
    refused_->setPalette(warning);
    rows_->addRow(QString(), refused_);

    QWidget* pin = makeRecorder(settings_.pinHotKey(),
                                [this](HotKeyBinding binding) { settings_.setPinHotKey(binding); });
    pin->setObjectName(QStringLiteral("pinRecorder"));
    rows_->addRow(QStringLiteral("Keep on screen"), pin);
}

QWidget* HotkeySettingsPane::makeRecorder(HotKeyBinding binding,
                                          std::function<void(HotKeyBinding)> onRecorded) {
    if (services_.makeHotKeyRecorder) {
        return services_.makeHotKeyRecorder(binding, std::move(onRecorded), this);
    }
    return new QLabel(QString::fromStdString(keyText(binding)), this);
}

void HotkeySettingsPane::refreshRefused() {
    if (services_.desktopKeys) return;
    const std::optional<HotKeyRefusal> refusal =
        services_.summonHotKeyRefusal ? services_.summonHotKeyRefusal() : std::nullopt;
    if (refusal) refused_->setText(refusalText(*refusal));
    rows_->setRowVisible(refused_, refusal.has_value());
}

}  // namespace glintdeck
