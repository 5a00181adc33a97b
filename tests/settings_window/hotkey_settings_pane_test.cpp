#include "settings_window/hotkey_settings_pane.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>

#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

// A recorder that "records" the given combination when clicked.
HotKeyRecorderFactory recorderRecording(HotKeyBinding recorded) {
    return
        [recorded](HotKeyBinding, std::function<void(HotKeyBinding)> onRecorded, QWidget* parent) {
            auto* button = new QPushButton(parent);
            QObject::connect(button, &QPushButton::clicked, button,
                             [recorded, onRecorded] { onRecorded(recorded); });
            return button;
        };
}

using HotkeySettingsPaneTest = PaneTest;

TEST_F(HotkeySettingsPaneTest, SaysSoWhenTheNewSummonKeyIsRefused) {
    AppSettings& settings = *settings_;
    const HotKeyBinding taken{0, HotKeyBinding::command | HotKeyBinding::shift};
    std::optional<HotKeyRefusal> refusal;
    int reRegistrations = 0;
    // The shell's callback re-registers the key; another program holds `taken`.
    settings.onHotKeyChanged = [&] {
        ++reRegistrations;
        refusal =
            settings.hotKey() == taken ? std::optional(HotKeyRefusal::heldElsewhere) : std::nullopt;
    };
    services_.makeHotKeyRecorder = recorderRecording(taken);
    services_.summonHotKeyRefusal = [&] { return refusal; };
    HotkeySettingsPane pane(settings, services_);
    pane.show();
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));

    child<QPushButton>(pane, "pinRecorder")->click();
    EXPECT_EQ(settings.pinHotKey(), taken);
    EXPECT_EQ(std::pair(reRegistrations, pane.refusedWarning()->isVisibleTo(&pane)),
              std::pair(0, false));
    child<QPushButton>(pane, "summonRecorder")->click();
    EXPECT_EQ(settings.hotKey(), taken);
    EXPECT_EQ(std::pair(reRegistrations, pane.refusedWarning()->isVisibleTo(&pane)),
              std::pair(1, true));

    // A reset elsewhere re-registers the default, which the system accepts.
    settings.resetToDefaults();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));
}

// On Wayland nothing here records a key: the pane shows what the desktop bound, follows its
// changes, opens its settings where it can, and without a portal says how to bind the key.
TEST_F(HotkeySettingsPaneTest, OnWaylandTheDesktopOwnsTheKeys) {
    auto keys = std::make_shared<FakeDesktopKeys>();
    keys->current = {.portal = true};
    services_.makeHotKeyRecorder = recorderRecording({});
    services_.desktopKeys = keys;
    HotkeySettingsPane pane(*settings_, services_);
    pane.show();
    EXPECT_EQ(pane.findChild<QPushButton*>("summonRecorder"), nullptr);
    auto visible = [&](const char* name) { return child<QWidget>(pane, name)->isVisibleTo(&pane); };

    struct Row {
        const char* name;
        const char* summon;  // nullptr: the row is hidden
        bool configure;
        bool instruction;
        DesktopKeys::Status status;
    };
    // clang-format off
    const Row rows[] = {
        {"portal still answering", "Not set", false, false, {.portal = true}},
        {"bound, version 1", "Ctrl+Alt+Meta+Q", false, false,
         {.portal = true, .summonTrigger = "Ctrl+Alt+Meta+Q", .pinTrigger = "Meta+P"}},
        {"rebound, version 2", "Meta+F12", true, false,
         {.portal = true, .summonTrigger = "Meta+F12", .canConfigure = true}},
        {"no portal, or one that refused", nullptr, false, true,
         {.instruction = "Add “bindsym Ctrl+Mod1+Mod4+q exec glintdeck” to your sway config.",
          .copyText = "bindsym Ctrl+Mod1+Mod4+q exec glintdeck",
          .problem = "The desktop portal refused to bind Glintdeck’s keys."}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        keys->set(row.status);
        EXPECT_EQ(visible("summonTrigger"), row.summon != nullptr);
        if (row.summon) {
            EXPECT_EQ(child<QLabel>(pane, "summonTrigger")->text(), row.summon);
        }
        EXPECT_EQ(visible("configureShortcuts"), row.configure);
        EXPECT_EQ(visible("bindInstruction"), row.instruction);
        EXPECT_EQ(visible("copyCommand"), row.instruction);
        EXPECT_EQ(visible("portalProblem"), !row.status.problem.isEmpty());
    }
    EXPECT_EQ(child<QLabel>(pane, "portalProblem")->text(), rows[3].status.problem);
    EXPECT_EQ(child<QLabel>(pane, "bindInstruction")->text(), rows[3].status.instruction);
    child<QPushButton>(pane, "copyCommand")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), rows[3].status.copyText);

    keys->set(rows[2].status);
    child<QPushButton>(pane, "configureShortcuts")->click();
    EXPECT_EQ(keys->configured, 1);
}

}  // namespace
}  // namespace glintdeck
