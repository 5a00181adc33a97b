#include "app/desktop_shortcuts.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <optional>

#include "app/app_delegate.h"
#include "core/task_queue_main_thread.h"
#include "settings/preferences_store.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_sampler_factory.h"
#include "tests/support/fake_shortcuts_portal.h"
#include "tests/support/private_bus.h"

namespace glintdeck {
namespace {

using Behaviour = FakeShortcutsPortal::Behaviour;

// The delegate in a Wayland session on KDE, with a fake portal (or none) on a private bus.
class WaylandSession {
  public:
    explicit WaylandSession(std::optional<Behaviour> behaviour, bool firstRun = false) {
        settings.setEnabledStats({StatKind::cpu});
        settings.setAnchor(PanelAnchor::topCenter);  // room below the strip for the hint
        settings.setHasSeenHint(!firstRun);
        if (behaviour) {
            portal = std::make_unique<FakeShortcutsPortal>(bus.connect(QStringLiteral("portal")),
                                                           *behaviour);
        }
        shortcuts = std::make_unique<DesktopShortcuts>(
            DesktopSession::fromVariables("wayland-0", "wayland", "KDE"), settings,
            bus.connect(QStringLiteral("client")), "glintdeck",
            [this] { return pressedAt += std::chrono::seconds(1); });
        shortcuts->start();
        delegate = std::make_unique<AppDelegate>(
            settings, AppEnvironment{.mainThread = mainThread,
                                     .samplers = samplers,
                                     .descriptors = {.clock = std::make_shared<FakeClock>()},
                                     .settingsServices = {},
                                     .desktopShortcuts = shortcuts.get()});
        delegate->applicationDidFinishLaunching();
    }
    ~WaylandSession() { delegate.reset(); }

    [[nodiscard]] bool stripShown() const {
        return delegate->panel().panel() != nullptr && delegate->panel().panel()->isVisible();
    }
    // The desktop reports a press of one of its bound shortcuts.
    // A press and its release.
    void press(const char* id) {
        portal->activate(portal->session, QString::fromLatin1(id), QStringLiteral("token"));
        portal->deactivate(QString::fromLatin1(id), 1234);
    }

    // Each press a second after the one before, as a person presses.
    std::chrono::steady_clock::time_point pressedAt;
    TaskQueueMainThread mainThread;
    FakeSamplerFactory samplers;
    AppSettings settings{PreferencesStore::inMemory()};
    PrivateBus bus;
    std::unique_ptr<FakeShortcutsPortal> portal;
    std::unique_ptr<DesktopShortcuts> shortcuts;
    std::unique_ptr<AppDelegate> delegate;
};

// The portal's keys do what the grabbed keys do on X11, and the program grabs none of its own.
TEST(DesktopShortcutsTest, ThePortalsKeysToggleTheStripAndPinOnlyWhileItShows) {
    WaylandSession session(Behaviour{});
    ASSERT_TRUE(session.stripShown()) << "every launch shows the strip";
    ASSERT_TRUE(runUntil([&] { return !session.shortcuts->status().summonTrigger.isEmpty(); }));
    EXPECT_EQ(session.delegate->hotKey().state(), HotKeyService::State::unregistered);

    session.press("keep-on-screen");
    ASSERT_TRUE(runUntil([&] { return session.settings.isPinned(); }));
    session.press("summon");
    ASSERT_TRUE(runUntil([&] { return !session.stripShown(); }));
    EXPECT_FALSE(session.settings.isPinned()) << "hiding unpins";

    // Hidden, the keep-on-screen key does nothing; the summon key after it brings the strip.
    session.press("keep-on-screen");
    session.press("summon");
    ASSERT_TRUE(runUntil([&] { return session.stripShown(); }));
    EXPECT_FALSE(session.settings.isPinned());
}

// The first-run hint names the key the desktop bound, so it waits for the desktop's answer.
TEST(DesktopShortcutsTest, TheFirstRunHintWaitsForTheDesktop) {
    WaylandSession session(Behaviour{.holdCreateSession = true}, true);
    auto hintShown = [&] {
        QWidget* hint = session.delegate->hintPanel().panel();
        return hint != nullptr && hint->isVisible();
    };
    bool hintsMomentPassed = false;  // timers of one delay fire in the order they were started
    QTimer::singleShot(200, [&] { hintsMomentPassed = true; });
    ASSERT_TRUE(runUntil([&] { return hintsMomentPassed; }));
    EXPECT_FALSE(hintShown());
    EXPECT_FALSE(session.settings.hasSeenHint());
    session.portal->answerCreateSession();
    ASSERT_TRUE(runUntil(hintShown));
    EXPECT_TRUE(session.settings.hasSeenHint());
}

// Without a portal the keys are the user's to bind: the pane and hint say how, and the grabs
// stand in on XWayland (refused here, on a platform without X, but registered).
TEST(DesktopShortcutsTest, WithoutAPortalTheGrabsStandInAndTheUserIsTold) {
    WaylandSession session(std::nullopt);
    ASSERT_TRUE(runUntil([&] { return !session.shortcuts->portalOwnsKeys(); }));
    EXPECT_NE(session.delegate->hotKey().state(), HotKeyService::State::unregistered);
    const DesktopKeys::Status status = session.shortcuts->status();
    EXPECT_FALSE(status.portal);
    EXPECT_EQ(status.instruction,
              "Add a custom shortcut that runs “glintdeck” in System Settings › Shortcuts.");
    EXPECT_EQ(status.copyText, "glintdeck");
}

}  // namespace
}  // namespace glintdeck
