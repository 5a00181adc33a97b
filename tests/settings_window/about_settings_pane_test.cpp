#include "settings_window/about_settings_pane.h"

#include <QPushButton>

#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class AboutSettingsPaneTest : public PaneTest {
  protected:
    void SetUp() override {
        pane_ = std::make_unique<AboutSettingsPane>(*settings_, services_);
        pane_->show();
    }

    // Opens the confirmation and presses one of its buttons.
    void answer(const QString& button) {
        child<QPushButton>(*pane_, "resetButton")->click();
        QMessageBox* dialog = pane_->confirmation();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->text(), "Reset all settings to defaults?");
        EXPECT_EQ(dialog->informativeText(),
                  "Stats, theme, panel placement, and hotkeys all return to their original "
                  "values.");
        for (QAbstractButton* choice : dialog->buttons()) {
            if (choice->text() == button) choice->click();
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(pane_->confirmation(), nullptr);
    }

    std::unique_ptr<AboutSettingsPane> pane_;
};

TEST_F(AboutSettingsPaneTest, ResetRestoresEverythingButValueModesAndTileStyles) {
    std::vector<StatKind> order(allStatKinds().rbegin(), allStatKinds().rend());
    settings_->setStatOrder(order);
    settings_->setEnabled(StatKind::gpu, false);
    settings_->setInterval(2.5);
    settings_->setAnchor(PanelAnchor::topCenter);
    settings_->setStripHeight(40);
    settings_->setHotKey({0, HotKeyBinding::command});
    settings_->setThemePreset(ThemePreset::custom);
    settings_->setCustomTheme(ThemeData::initial());
    settings_->setTileValueMode(TileValueMode::second, StatKind::memory);
    settings_->setTileStyle(TileStyle::graph, StatKind::cpu);
    auto modes = settings_->tileValueModes();
    auto styles = settings_->tileStyles();

    answer(QStringLiteral("Cancel"));
    EXPECT_EQ(settings_->statOrder(), order);
    EXPECT_EQ(settings_->interval(), 2.5);

    answer(QStringLiteral("Reset"));
    EXPECT_EQ(settings_->statOrder(),
              std::vector<StatKind>(allStatKinds().begin(), allStatKinds().end()));
    EXPECT_TRUE(settings_->enabledStats().contains(StatKind::gpu));
    EXPECT_EQ(settings_->interval(), 1.0);
    EXPECT_EQ(settings_->anchor(), PanelAnchor::cursor);
    EXPECT_EQ(settings_->stripHeight(), 36);
    EXPECT_EQ(settings_->hotKey(), HotKeyBinding::defaultSummon());
    EXPECT_EQ(settings_->themePreset(), ThemePreset::defaultPreset);
    EXPECT_EQ(settings_->customTheme(), std::nullopt);
    EXPECT_EQ(settings_->tileValueModes(), modes);
    EXPECT_EQ(settings_->tileStyles(), styles);
}

TEST_F(AboutSettingsPaneTest, VersionLineNamesMissingPartsWithADash) {
    EXPECT_EQ(versionLine("0.1.0", "42"), "Version 0.1.0 (build 42)");
    EXPECT_EQ(versionLine("", ""), "Version — (build —)");
    EXPECT_TRUE(child<QLabel>(*pane_, "versionLine")->text().startsWith("Version 0.1.0 (build "));
}

TEST_F(AboutSettingsPaneTest, QuitGoesToTheShell) {
    int quits = 0;
    services_.onQuit = [&] { ++quits; };
    child<QPushButton>(*pane_, "quitButton")->click();
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace glintdeck
