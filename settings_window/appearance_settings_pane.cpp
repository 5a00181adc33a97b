#include "settings_window/appearance_settings_pane.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "settings/app_settings.h"
#include "settings_window/color_button.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/slider_row.h"

namespace glintdeck {
namespace {

QColor toQColor(const CodableColor& color) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue), static_cast<float>(color.opacity));
}

CodableColor fromQColor(const QColor& color) {
    QColor rgb = color.toRgb();
    return CodableColor::from(Color{rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()});
}

}  // namespace

AppearanceSettingsPane::AppearanceSettingsPane(AppSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    auto* section = makeSection(QStringLiteral("Appearance"), this);
    auto* rows = new QFormLayout(section);
    rows->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    presetPicker_ = new QComboBox(section);
    presetPicker_->setObjectName(QStringLiteral("themePicker"));
    for (ThemePreset preset : allThemePresets()) {
        presetPicker_->addItem(qText(title(preset)), static_cast<int>(preset));
    }
    connect(presetPicker_, &QComboBox::activated, this, [this](int index) {
        settings_.setThemePreset(static_cast<ThemePreset>(presetPicker_->itemData(index).toInt()));
    });
    rows->addRow(QStringLiteral("Theme"), presetPicker_);
    rows->addRow(makeLabel(QStringLiteral("Theme applies live across the strip, detail card, and "
                                          "hint."),
                           TextStyle::caption, true, section));

    // The disclosure group: a toggle that shows or folds away the rows below it.
    customizeGroup_ = new QWidget(section);
    customizeGroup_->setObjectName(QStringLiteral("customizeGroup"));
    customizeToggle_ = new QToolButton(customizeGroup_);
    customizeToggle_->setText(QStringLiteral("Customize…"));
    customizeToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    customizeToggle_->setArrowType(Qt::RightArrow);
    customizeToggle_->setAutoRaise(true);
    customizeRows_ = new QWidget(customizeGroup_);
    customizeRows_->setVisible(false);
    // Not a checkable button: a checked one is drawn pressed in, unlike a disclosure arrow.
    connect(customizeToggle_, &QToolButton::clicked, this,
            [this] { setCustomizeOpen(!isCustomizeOpen()); });

    auto* customize = new QFormLayout(customizeRows_);
    customize->setContentsMargins(18, 4, 0, 0);
    customize->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    accent_ = new ColorButton(QStringLiteral("Accent"), customizeRows_);
    accent_->setObjectName(QStringLiteral("accentColor"));
    connect(accent_, &ColorButton::colorPicked, this, [this](const QColor& color) {
        edit([&](ThemeData& data) { data.accent = fromQColor(color); });
    });
    background_ = new ColorButton(QStringLiteral("Background"), customizeRows_);
    background_->setObjectName(QStringLiteral("backgroundColor"));
    connect(background_, &ColorButton::colorPicked, this, [this](const QColor& color) {
        edit([&](ThemeData& data) { data.background = fromQColor(color); });
    });
    opacity_ = new SliderRow(
        QStringLiteral("Background opacity"), {30, 100, 100},
        [](double value) { return QString::number(value * 100, 'f', 0) + QLatin1Char('%'); },
        customizeRows_);
    opacity_->setObjectName(QStringLiteral("opacityRow"));
    connect(opacity_, &SliderRow::valueCommitted, this,
            [this](double value) { edit([&](ThemeData& data) { data.opacity = value; }); });
    cornerRadius_ = new SliderRow(
        QStringLiteral("Corner radius"), {0, 20, 1},
        [](double value) { return QString::number(static_cast<int>(value)) + " pt"; },
        customizeRows_);
    cornerRadius_->setObjectName(QStringLiteral("cornerRadiusRow"));
    connect(cornerRadius_, &SliderRow::valueCommitted, this,
            [this](double value) { edit([&](ThemeData& data) { data.cornerRadius = value; }); });
    densityPicker_ = new QComboBox(customizeRows_);
    densityPicker_->setObjectName(QStringLiteral("densityPicker"));
    for (ThemeDensity density : allThemeDensities()) {
        densityPicker_->addItem(qText(title(density)), static_cast<int>(density));
    }
    connect(densityPicker_, &QComboBox::activated, this, [this](int index) {
        auto density = static_cast<ThemeDensity>(densityPicker_->itemData(index).toInt());
        edit([&](ThemeData& data) { data.density = density; });
    });
    customize->addRow(QStringLiteral("Accent"), accent_);
    customize->addRow(QStringLiteral("Background"), background_);
    customize->addRow(opacity_);
    customize->addRow(cornerRadius_);
    customize->addRow(QStringLiteral("Density"), densityPicker_);

    auto* groupLayout = new QVBoxLayout(customizeGroup_);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    groupLayout->setSpacing(0);
    groupLayout->addWidget(customizeToggle_, 0, Qt::AlignLeft);
    groupLayout->addWidget(customizeRows_);
    rows->addRow(customizeGroup_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(section);
    layout->addStretch(1);

    refresh();
    subscription_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::themePreset || field == AppSettings::Field::customTheme) {
            refresh();
        }
    });
}

void AppearanceSettingsPane::setCustomizeOpen(bool open) {
    customizeToggle_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    customizeRows_->setVisible(open);
}

ThemeData AppearanceSettingsPane::customTheme() const {
    return settings_.customTheme().value_or(ThemeData::initial());
}

void AppearanceSettingsPane::edit(const std::function<void(ThemeData&)>& change) {
    ThemeData data = customTheme();
    change(data);
    settings_.setCustomTheme(data);
}

void AppearanceSettingsPane::refresh() {
    selectData(*presetPicker_, settings_.themePreset());
    customizeGroup_->setVisible(settings_.themePreset() == ThemePreset::custom);
    ThemeData data = customTheme();
    accent_->setColor(toQColor(data.accent));
    background_->setColor(toQColor(data.background));
    opacity_->setValue(data.opacity);
    cornerRadius_->setValue(data.cornerRadius);
    selectData(*densityPicker_, data.density);
}

}  // namespace glintdeck
