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

TEST(HotkeySettingsPaneTest, SaysSoWhenTheNewSummonKeyIsRefused) {
    auto settings = std::make_unique<AppSettings>(PreferencesStore::inMemory());
    const HotKeyBinding taken{0, HotKeyBinding::command | HotKeyBinding::shift};
    std::optional<HotKeyRefusal> refusal;
    int reRegistrations = 0;
    // The shell's callback re-registers the key; another program holds `taken`.
    settings->onHotKeyChanged = [&] {
        ++reRegistrations;
        refusal = settings->hotKey() == taken ? std::optional(HotKeyRefusal::heldElsewhere)
                                              : std::nullopt;
    };
    SettingsServices services;
    services.makeHotKeyRecorder = recorderRecording(taken);
    services.summonHotKeyRefusal = [&] { return refusal; };
    HotkeySettingsPane pane(*settings, services);
    pane.show();
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));

    child<QPushButton>(pane, "pinRecorder")->click();
    EXPECT_EQ(settings->pinHotKey(), taken);
    EXPECT_EQ(std::pair(reRegistrations, pane.refusedWarning()->isVisibleTo(&pane)),
              std::pair(0, false));
    child<QPushButton>(pane, "summonRecorder")->click();
    EXPECT_EQ(settings->hotKey(), taken);
    EXPECT_EQ(std::pair(reRegistrations, pane.refusedWarning()->isVisibleTo(&pane)),
              std::pair(1, true));

    // A reset elsewhere re-registers the default, which the system accepts.
    settings->resetToDefaults();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));
}

// On Wayland nothing here records a key: the pane shows what the desktop bound, follows its
// changes, opens its settings where it can, and without a portal says how to bind the key.
TEST(HotkeySettingsPaneTest, OnWaylandTheDesktopOwnsTheKeys) {
    auto settings = std::make_unique<AppSettings>(PreferencesStore::inMemory());
    auto keys = std::make_shared<FakeDesktopKeys>();
    keys->current = {.portal = true};
    SettingsServices services;
    services.makeHotKeyRecorder = recorderRecording({});
    services.desktopKeys = keys;
    HotkeySettingsPane pane(*settings, services);
    pane.show();
    EXPECT_EQ(pane.findChild<QPushButton*>("summonRecorder"), nullptr);
    auto visible = [&](const char* name) { return child<QWidget>(pane, name)->isVisibleTo(&pane); };

    struct Row {
        const char* name;
        DesktopKeys::Status status;
        const char* summon;  // nullptr: the row is hidden
        bool configure;
        bool instruction;
    };
    const Row rows[] = {
        {"portal still answering", {.portal = true}, "Not set", false, false},
        {"bound, version 1",
         {.portal = true, .summonTrigger = "Ctrl+Alt+Meta+Q", .pinTrigger = "Meta+P"},
         "Ctrl+Alt+Meta+Q",
         false,
         false},
        {"rebound, version 2",
         {.portal = true, .summonTrigger = "Meta+F12", .canConfigure = true},
         "Meta+F12",
         true,
         false},
        {"no portal, or one that refused",
         {.instruction = "Add “bindsym Ctrl+Mod1+Mod4+q exec glintdeck” to your sway config.",
          .copyText = "bindsym Ctrl+Mod1+Mod4+q exec glintdeck",
          .problem = "The desktop portal refused to bind Glintdeck’s keys."},
         nullptr,
         false,
         true}};
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
