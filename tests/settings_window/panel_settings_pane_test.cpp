#include "settings_window/panel_settings_pane.h"

#include "settings_window/switch_button.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class PanelSettingsPaneTest : public PaneTest {
  protected:
    void SetUp() override {
        services_.loginItem = loginItem_;
        services_.log = [this](std::string_view line) { log_.emplace_back(line); };
    }
    std::unique_ptr<PanelSettingsPane> make() {
        auto pane = std::make_unique<PanelSettingsPane>(*settings_, services_);
        pane->show();
        return pane;
    }

    std::shared_ptr<FakeLoginItem> loginItem_ = std::make_shared<FakeLoginItem>();
    std::vector<std::string> log_;
};

TEST_F(PanelSettingsPaneTest, LaunchAtLoginChangesTheItemOnlyWhenItDiffers) {
    struct Case {
        const char* name;
        bool shownAs;  // the item's state when the pane was built
        bool itemNow;  // its state when the switch is flipped
        std::string failure;
        int calls;
        bool switchAfter;
    };
    for (const Case& c :
         {Case{"turn on", false, false, "", 1, true}, Case{"turn off", true, true, "", 1, false},
          Case{"already on elsewhere", false, true, "", 0, true},
          Case{"turning on fails", false, false, "Permission denied", 1, false},
          Case{"turning off fails", true, true, "Read-only file system", 1, true}}) {
        SCOPED_TRACE(c.name);
        *loginItem_ = FakeLoginItem{};
        loginItem_->enabled = c.shownAs;
        log_.clear();
        auto pane = make();
        auto* toggle = child<SwitchButton>(*pane, "launchAtLogin");
        EXPECT_EQ(toggle->isChecked(), c.shownAs);

        loginItem_->enabled = c.itemNow;
        loginItem_->failure = c.failure;
        toggle->click();
        EXPECT_EQ(loginItem_->calls, c.calls);
        EXPECT_EQ(toggle->isChecked(), c.switchAfter);
        EXPECT_EQ(pane->launchAtLogin(), c.switchAfter);
        EXPECT_EQ(log_.size(), c.failure.empty() ? 0u : 1u);
        auto* problem = child<QLabel>(*pane, "launchAtLoginProblem");
        EXPECT_EQ(problem->isVisible(), !c.failure.empty());
        if (!log_.empty()) {
            EXPECT_EQ(problem->text().toStdString(), log_[0]);
        }
    }
}

// Regression: a switch that could not be changed flipped back with the reason in the system log
// alone, which many machines do not have. It shows under the switch and on standard error, as
// does what kept the program's start at login from being brought up to date.
TEST_F(PanelSettingsPaneTest, LaunchAtLoginProblemsShowUnderTheSwitchAndOnStandardError) {
    services_.log = nullptr;
    services_.loginItemProblem = "the old entry stayed";
    auto pane = make();
    auto* problem = child<QLabel>(*pane, "launchAtLoginProblem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_EQ(problem->text(), "the old entry stayed");

    loginItem_->failure = "entry is a symbolic link";
    testing::internal::CaptureStderr();
    child<SwitchButton>(*pane, "launchAtLogin")->click();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "glintdeck: Launch at login could not be turned on: entry is a symbolic link\n");
    EXPECT_EQ(problem->text(), "Launch at login could not be turned on: entry is a symbolic link");

    loginItem_->failure.clear();
    child<SwitchButton>(*pane, "launchAtLogin")->click();
    EXPECT_FALSE(problem->isVisible()) << "a change that worked clears it";
}

// The file may hold any interval or height: the pane shows it as it is and writes nothing until
// the user moves a knob.
TEST_F(PanelSettingsPaneTest, IntervalIsShownWhileDraggedAndAssignedOnceOnRelease) {
    settings_->setInterval(0.3);
    settings_->setStripHeight(200);
    int restarts = 0;
    settings_->onIntervalChanged = [&] { ++restarts; };
    auto pane = make();
    auto* interval = child<SliderRow>(*pane, "intervalRow");
    EXPECT_EQ(interval->valueText(), "0.30 s");
    EXPECT_EQ(child<SliderRow>(*pane, "stripHeightRow")->valueText(), "200 pt");
    EXPECT_EQ(std::tuple(settings_->interval(), settings_->stripHeight(), restarts),
              std::tuple(0.3, 200.0, 0));

    drag(*interval, 3, false);  // three quarter seconds
    drag(*interval, 2, false);
    EXPECT_EQ(interval->valueText(), "0.50 s");
    EXPECT_EQ(std::pair(settings_->interval(), restarts), std::pair(0.3, 0));
    interval->slider()->setSliderDown(false);
    EXPECT_EQ(std::pair(settings_->interval(), restarts), std::pair(0.5, 1));
    // A key press is one step, assigned at once.
    interval->slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(std::pair(settings_->interval(), restarts), std::pair(0.75, 2));
}

TEST_F(PanelSettingsPaneTest, AlertSwitchesFollowAndWriteTheSettings) {
    auto pane = make();
    auto* overheating = child<SwitchButton>(*pane, "alertOverheating");
    auto* runaway = child<SwitchButton>(*pane, "alertRunawayProcess");
    auto* pressure = child<SwitchButton>(*pane, "alertMemoryPressure");
    // Overheating and runaway processes are watched unless the user says otherwise.
    EXPECT_EQ(std::tuple(overheating->isChecked(), runaway->isChecked(), pressure->isChecked()),
              std::tuple(true, true, false));

    pressure->click();
    runaway->click();
    EXPECT_TRUE(settings_->alertEnabled(AlertWatch::memoryPressure));
    EXPECT_FALSE(settings_->alertEnabled(AlertWatch::runawayProcess));
    settings_->setAlertEnabled(AlertWatch::overheating, false);
    EXPECT_FALSE(overheating->isChecked());
}

}  // namespace
}  // namespace glintdeck
