#include "settings_window/hotkey_settings_pane.h"

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
    EXPECT_EQ(reRegistrations, 0);
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));

    child<QPushButton>(pane, "summonRecorder")->click();
    EXPECT_EQ(settings->hotKey(), taken);
    EXPECT_EQ(reRegistrations, 1);
    EXPECT_TRUE(pane.refusedWarning()->isVisibleTo(&pane));
    EXPECT_EQ(pane.refusedWarning()->text(), "In use by another program");

    // A reset elsewhere re-registers the default, which the system accepts.
    settings->resetToDefaults();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane.refusedWarning()->isVisibleTo(&pane));
}

}  // namespace
}  // namespace glintdeck
