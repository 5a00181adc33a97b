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
        for (QAbstractButton* choice : dialog->buttons()) {
            if (choice->text() == button) choice->click();
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(pane_->confirmation(), nullptr);
    }

    std::unique_ptr<AboutSettingsPane> pane_;
};

// What the reset restores is the settings' own rule; the pane asks first.
TEST_F(AboutSettingsPaneTest, ResetAsksFirst) {
    const AppSettings defaults(PreferencesStore::inMemory());
    settings_->setInterval(defaults.interval() * 2);

    answer(QStringLiteral("Cancel"));
    EXPECT_EQ(settings_->interval(), defaults.interval() * 2);

    answer(QStringLiteral("Reset"));
    EXPECT_EQ(settings_->interval(), defaults.interval());
}

TEST_F(AboutSettingsPaneTest, QuitGoesToTheShell) {
    int quits = 0;
    services_.onQuit = [&] { ++quits; };
    child<QPushButton>(*pane_, "quitButton")->click();
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace glintdeck
