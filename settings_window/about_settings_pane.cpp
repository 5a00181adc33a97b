#include "settings_window/about_settings_pane.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/app_settings.h"
#include "settings_window/build_info.h"
#include "settings_window/pane_widgets.h"

namespace glintdeck {
namespace {

QPushButton* makeLargeButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    button->setFont(font);
    button->setMinimumHeight(32);
    button->setFixedWidth(220 + 24);
    return button;
}

}  // namespace

QString versionLine(std::string_view version, std::string_view build) {
    auto part = [](std::string_view text) {
        return text.empty() ? QStringLiteral("—") : qText(text);
    };
    return QStringLiteral("Version ") + part(version) + QStringLiteral(" (build ") + part(build) +
           QLatin1Char(')');
}

AboutSettingsPane::AboutSettingsPane(AppSettings& settings, const SettingsServices& services,
                                     QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(16);
    column->addStretch(1);

    if (const QIcon icon(services.iconFile); !icon.isNull()) {
        auto* iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("appIcon"));
        iconLabel->setPixmap(icon.pixmap(QSize(72, 72), devicePixelRatioF()));
        iconLabel->setFixedSize(72, 72);
        column->addWidget(iconLabel, 0, Qt::AlignHCenter);
    }

    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    auto* name = new QLabel(QStringLiteral("Glintdeck"), this);
    applyTextStyle(*name, TextStyle::title, true);
    name->setAlignment(Qt::AlignHCenter);
    auto* version = makeLabel(versionLine(GLINTDECK_VERSION_TEXT, GLINTDECK_BUILD_TEXT),
                              TextStyle::subheadline, true, this);
    version->setObjectName(QStringLiteral("versionLine"));
    version->setAlignment(Qt::AlignHCenter);
    names->addWidget(name);
    names->addWidget(version);
    column->addLayout(names);

    auto* tagline =
        makeLabel(QStringLiteral("A glanceable HUD of live machine stats, summoned with a hotkey."),
                  TextStyle::callout, true, this);
    tagline->setAlignment(Qt::AlignHCenter);
    column->addWidget(tagline);

    auto* divider = new QHBoxLayout;
    divider->setContentsMargins(40, 0, 40, 0);
    divider->addWidget(makeDivider(false, this));
    column->addLayout(divider);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(10);
    auto* reset = makeLargeButton(QStringLiteral("Reset to Defaults"), this);
    reset->setObjectName(QStringLiteral("resetButton"));
    // Destructive: drawn in red, as the desktop's destructive actions are.
    QPalette red = reset->palette();
    red.setColor(QPalette::ButtonText, QColor(0xe0, 0x3a, 0x3a));
    reset->setPalette(red);
    connect(reset, &QPushButton::clicked, this, &AboutSettingsPane::confirmReset);
    auto* quit = makeLargeButton(QStringLiteral("Quit Glintdeck"), this);
    quit->setObjectName(QStringLiteral("quitButton"));
    connect(quit, &QPushButton::clicked, this, [this] {
        if (services_.onQuit) {
            services_.onQuit();
        } else {
            QCoreApplication::quit();
        }
    });
    buttons->addWidget(reset, 0, Qt::AlignHCenter);
    buttons->addWidget(quit, 0, Qt::AlignHCenter);
    column->addLayout(buttons);
    column->addStretch(1);
}

void AboutSettingsPane::confirmReset() {
    if (confirmation_) return;
    auto* dialog = new QMessageBox(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    sharePalette(*dialog, *this);
    dialog->setIcon(QMessageBox::Warning);
    dialog->setWindowTitle(QStringLiteral("Reset all settings to defaults?"));
    dialog->setText(QStringLiteral("Reset all settings to defaults?"));
    dialog->setInformativeText(QStringLiteral(
        "Stats, theme, panel placement, and hotkeys all return to their original values."));
    QPushButton* resetButton =
        dialog->addButton(QStringLiteral("Reset"), QMessageBox::DestructiveRole);
    QPushButton* cancel = dialog->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    dialog->setDefaultButton(cancel);
    dialog->setEscapeButton(cancel);
    connect(dialog, &QMessageBox::buttonClicked, this,
            [this, resetButton](QAbstractButton* button) {
                if (button == resetButton) settings_.resetToDefaults();
            });
    confirmation_ = dialog;
    dialog->open();
}

}  // namespace glintdeck
