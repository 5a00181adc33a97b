#include "settings_window/desktop_keys_section.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include "settings_window/pane_widgets.h"

namespace glintdeck {
namespace {

QString triggerText(const QString& trigger) {
    return trigger.isEmpty() ? QStringLiteral("Not set") : trigger;
}

}  // namespace

DesktopKeysSection::DesktopKeysSection(std::shared_ptr<DesktopKeys> keys, QWidget* parent)
    : QWidget(parent), keys_(std::move(keys)) {
    rows_ = new QFormLayout(this);
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    summon_ = makeLabel({}, TextStyle::body, false, this);
    summon_->setObjectName(QStringLiteral("summonTrigger"));
    rows_->addRow(QStringLiteral("Summon panel"), summon_);
    pin_ = makeLabel({}, TextStyle::body, false, this);
    pin_->setObjectName(QStringLiteral("pinTrigger"));
    rows_->addRow(QStringLiteral("Keep on screen"), pin_);
    owner_ = makeLabel(QStringLiteral("Your desktop owns these keys: change them in its shortcut "
                                      "settings."),
                       TextStyle::caption, true, this);
    owner_->setObjectName(QStringLiteral("desktopOwnsKeys"));
    rows_->addRow(owner_);
    configure_ = new QPushButton(QStringLiteral("Open Shortcut Settings…"), this);
    configure_->setObjectName(QStringLiteral("configureShortcuts"));
    configure_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(configure_, &QPushButton::clicked, this, [this] { keys_->configure(); });
    rows_->addRow(configure_);

    problem_ = makeLabel({}, TextStyle::caption, true, this);
    problem_->setObjectName(QStringLiteral("portalProblem"));
    rows_->addRow(problem_);
    instruction_ = makeLabel({}, TextStyle::caption, true, this);
    instruction_->setObjectName(QStringLiteral("bindInstruction"));
    instruction_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows_->addRow(instruction_);
    copy_ = new QPushButton(QStringLiteral("Copy"), this);
    copy_->setObjectName(QStringLiteral("copyCommand"));
    copy_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(keys_->status().copyText); });
    rows_->addRow(copy_);

    refresh();
    subscription_ = keys_->subscribe([this] { refresh(); });
}

void DesktopKeysSection::refresh() {
    const DesktopKeys::Status status = keys_->status();
    summon_->setText(triggerText(status.summonTrigger));
    pin_->setText(triggerText(status.pinTrigger));
    problem_->setText(status.problem);
    instruction_->setText(status.instruction);
    // With a portal the desktop shows what it bound; without one the user binds the command.
    for (QWidget* row : {static_cast<QWidget*>(summon_), static_cast<QWidget*>(pin_),
                         static_cast<QWidget*>(owner_)}) {
        rows_->setRowVisible(row, status.portal);
    }
    rows_->setRowVisible(configure_, status.portal && status.canConfigure);
    rows_->setRowVisible(problem_, !status.problem.isEmpty());
    rows_->setRowVisible(instruction_, !status.portal);
    rows_->setRowVisible(copy_, !status.portal);
}

}  // namespace glintdeck
