#include "app/desktop_shortcuts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "tests/app/app_harness.h"
#include "tests/support/fake_desktop_portal.h"

namespace glintdeck {
namespace {

using Behaviour = FakeDesktopPortal::Behaviour;

// The delegate in a Wayland session on KDE, with a fake portal (or none) on a private bus.
class WaylandSession : public AppHarness {
  public:
    explicit WaylandSession(std::optional<Behaviour> behaviour, bool firstRun = false) {
        settings.setEnabledStats({StatKind::cpu});
        settings.setAnchor(PanelAnchor::topCenter);  // room below the strip for the hint
        settings.setHasSeenHint(!firstRun);
        if (behaviour) {
            portal = std::make_unique<FakeDesktopPortal>(bus.connect(QStringLiteral("portal")),
                                                         *behaviour);
        }
        shortcuts = std::make_unique<DesktopShortcuts>(
            DesktopSession{.kind = SessionKind::wayland, .desktops = {"KDE"}}, settings,
            bus.connect(QStringLiteral("client")), "glintdeck",
            [this]() -> std::optional<uint32_t> { return serverNow; },
            [this] { return pressedAt += std::chrono::seconds(1); });
        shortcuts->start();
        AppEnvironment wayland = environment();
        wayland.desktopShortcuts = shortcuts.get();
        launch(std::move(wayland));
    }
    ~WaylandSession() { delegate.reset(); }

    [[nodiscard]] bool stripShown() const { return shown(delegate->panel().panel()); }
    // The desktop reports a press of one of its bound shortcuts, and its release.
    void press(const char* id, uint64_t time = 1234) {
        portal->activate(portal->session, QString::fromLatin1(id), QStringLiteral("token"), time);
        portal->deactivate(QString::fromLatin1(id), 1234);
    }

    // Each press a second after the one before, as a person presses.
    std::chrono::steady_clock::time_point pressedAt;
    uint32_t serverNow = 1500;  // the X server's clock
    PrivateBus bus;
    std::unique_ptr<FakeDesktopPortal> portal;
    std::unique_ptr<DesktopShortcuts> shortcuts;
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
    auto hintShown = [&] { return shown(session.delegate->hintPanel().panel()); };
    ASSERT_TRUE(passTheHintsMoment());
    EXPECT_FALSE(hintShown());
    EXPECT_FALSE(session.settings.hasSeenHint());
    session.portal->answerCreateSession();
    ASSERT_TRUE(runUntil(hintShown));
    EXPECT_TRUE(session.settings.hasSeenHint());
}

// Without a portal, or where it refuses, the keys are the user's to bind: standard error, the
// pane and the hint say how (the pane also why), and the grabs stand in on XWayland (refused
// here, on a platform without X, but registered).
TEST(DesktopShortcutsTest, WithoutAPortalTheGrabsStandInAndTheUserIsTold) {
    for (const std::optional<Behaviour> portal :
         {std::optional<Behaviour>(), std::optional(Behaviour{.createResponse = 2})}) {
        testing::internal::CaptureStderr();
        WaylandSession session(portal);
        ASSERT_TRUE(runUntil([&] { return session.shortcuts->answered(); }));
        EXPECT_NE(testing::internal::GetCapturedStderr().find(
                      portal ? "glintdeck: the desktop portal refused to bind global keys; bind"
                             : "glintdeck: no desktop portal binds global keys here; bind"),
                  std::string::npos);
        EXPECT_NE(session.delegate->hotKey().state(), HotKeyService::State::unregistered);
        const DesktopKeys::Status status = session.shortcuts->status();
        EXPECT_FALSE(status.portal);
        EXPECT_EQ(status.copyText, "glintdeck") << "KDE's instruction";
        EXPECT_EQ(status.problem.isEmpty(), !portal);
    }
}

// A focus request with a press time of 0 or of another clock is refused: only a time that reads
// as the X server's a moment ago is passed on, otherwise the server's time now.
TEST(DesktopShortcutsTest, APressTimeIsPassedOnOnlyWhereItIsTheXServers) {
    WaylandSession session(Behaviour{});
    ASSERT_TRUE(runUntil([&] { return session.shortcuts->answered(); }));
    std::optional<SummonRequest> summoned;
    session.shortcuts->onSummon = [&](const SummonRequest& request) { summoned = request; };
    struct Row {
        uint32_t serverNow;
        uint64_t reported;
        uint32_t passed;
    };
    for (const Row& row : {
             Row{90'000, 89'200, 89'200},
             Row{90'000, 90'400, 90'400},  // read from the server a little before the desktop
             Row{90'000, 0, 90'000},       // none
             Row{90'000, 1'715'000'000'000, 90'000},  // the wall clock
             Row{500, 0xFFFF'FF00, 0xFFFF'FF00},      // X time wrapped between press and now
             Row{90'000, (uint64_t{7} << 32) + 89'900, 89'900},  // wider than X time, same clock
         }) {
        session.serverNow = row.serverNow;
        summoned.reset();
        session.press("summon", row.reported);
        ASSERT_TRUE(runUntil([&] { return summoned.has_value(); }));
        EXPECT_EQ(summoned->userTimestamp, row.passed) << row.reported;
    }
}

}  // namespace
}  // namespace glintdeck
