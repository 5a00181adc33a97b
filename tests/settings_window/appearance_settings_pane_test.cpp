#include "settings_window/appearance_settings_pane.h"

#include <QColorDialog>
#include <QToolButton>

#include "settings_window/color_button.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class AppearanceSettingsPaneTest : public PaneTest {
  protected:
    void SetUp() override {
        settings_->setThemePreset(ThemePreset::custom);
        pane_ = std::make_unique<AppearanceSettingsPane>(*settings_);
        pane_->show();
        pane_->customizeToggle()->click();
    }

    std::unique_ptr<AppearanceSettingsPane> pane_;
};

TEST_F(AppearanceSettingsPaneTest, FirstSliderEditCreatesTheCustomThemeFromTheInitialOne) {
    auto* opacity = child<SliderRow>(*pane_, "opacityRow");
    auto* radius = child<SliderRow>(*pane_, "cornerRadiusRow");
    EXPECT_EQ(settings_->customTheme(), std::nullopt);
    drag(*opacity, 50);
    EXPECT_EQ(opacity->valueText(), "50%");
    ThemeData expected = ThemeData::initial();
    expected.opacity = 0.5;
    EXPECT_EQ(settings_->customTheme(), expected);

    drag(*radius, 4);
    expected.cornerRadius = 4;
    EXPECT_EQ(settings_->customTheme(), expected);
    EXPECT_EQ(radius->valueText(), "4 pt");
}

TEST_F(AppearanceSettingsPaneTest, PickedColoursAndDensityReplaceOneFieldEach) {
    auto pick = [&](const char* button, const QColor& color) {
        auto* picker = child<ColorButton>(*pane_, button);
        picker->click();
        QColorDialog* dialog = picker->dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->testOption(QColorDialog::ShowAlphaChannel));
        dialog->setCurrentColor(color);
        dialog->accept();
    };
    pick("accentColor", QColor(255, 0, 0));
    pick("backgroundColor", QColor(0, 0, 255));
    choose(*child<QComboBox>(*pane_, "densityPicker"), QStringLiteral("Compact"));

    ThemeData expected = ThemeData::initial();
    expected.accent = {1, 0, 0, 1};
    expected.background = {0, 0, 1, 1};
    expected.density = ThemeDensity::compact;
    EXPECT_EQ(settings_->customTheme(), expected);
}

TEST_F(AppearanceSettingsPaneTest, AnotherPresetHidesCustomizeAndKeepsTheStoredTheme) {
    QWidget* group = pane_->customizeGroup();
    EXPECT_TRUE(group->isVisibleTo(pane_.get()));
    drag(*child<SliderRow>(*pane_, "cornerRadiusRow"), 20);
    std::optional<ThemeData> stored = settings_->customTheme();
    ASSERT_TRUE(stored);

    choose(*child<QComboBox>(*pane_, "themePicker"), QStringLiteral("Neon"));
    EXPECT_EQ(settings_->themePreset(), ThemePreset::neon);
    EXPECT_FALSE(group->isVisibleTo(pane_.get()));
    EXPECT_EQ(settings_->customTheme(), stored);

    choose(*child<QComboBox>(*pane_, "themePicker"), QStringLiteral("Custom"));
    EXPECT_TRUE(group->isVisibleTo(pane_.get()));
    EXPECT_EQ(child<SliderRow>(*pane_, "cornerRadiusRow")->valueText(), "20 pt");
}

}  // namespace
}  // namespace glintdeck
