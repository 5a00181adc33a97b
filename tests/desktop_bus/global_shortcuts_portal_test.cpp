#include "desktop_bus/global_shortcuts_portal.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

#include "tests/support/fake_desktop_portal.h"
#include "tests/support/private_bus.h"
#include "tests/support/run_until.h"

namespace glintdeck {
namespace {

using State = GlobalShortcutsPortal::State;
using Behaviour = FakeDesktopPortal::Behaviour;

const QString kApplicationId = QStringLiteral("org.glintdeck.Glintdeck");
const QList<GlobalShortcutsPortal::Shortcut> kShortcuts{
    {"summon", "Show or hide", "CTRL+ALT+LOGO+q"},
    {"keep-on-screen", "Keep", "CTRL+ALT+LOGO+p"},
};

// A private bus with the fake portal on it (none where behaviour is absent) and our client.
class PortalSession {
  public:
    explicit PortalSession(std::optional<Behaviour> behaviour) {
        if (behaviour) {
            portal = std::make_unique<FakeDesktopPortal>(bus.connect("portal"), *behaviour);
        }
        client = std::make_unique<GlobalShortcutsPortal>(kApplicationId, bus.connect("client"),
                                                         [this] { return now += step; });
        QObject::connect(client.get(), &GlobalShortcutsPortal::activated,
                         [this](const QString& id, const QString& token) {
                             activations << id + QLatin1Char('/') + token;
                         });
        QObject::connect(client.get(), &GlobalShortcutsPortal::changed, [this] { ++changes; });
    }
    bool settled() {
        client->start(kShortcuts);
        return runUntil([&] { return client->state() != State::starting; });
    }

    PrivateBus bus;
    std::unique_ptr<FakeDesktopPortal> portal;
    std::unique_ptr<GlobalShortcutsPortal> client;
    QStringList activations;
    int changes = 0;
    // Each signal arrives this long after the one before.
    std::chrono::milliseconds step{1000};
    std::chrono::steady_clock::time_point now;
};

QStringList ids(const QList<PortalShortcut>& shortcuts) {
    QStringList list;
    for (const PortalShortcut& shortcut : shortcuts) list << shortcut.id;
    return list;
}

TEST(GlobalShortcutsPortalTest, TheDesktopsAnswerDecidesWhatIsBound) {
    const QStringList fullRun{"Register", "Get", "CreateSession", "BindShortcuts"};
    struct Row {
        const char* name;
        std::optional<Behaviour> behaviour;
        State state;
        bool triggers, canConfigure;
        qsizetype calls = 4;  // how far into the full run the portal was asked
    };
    const Row rows[] = {
        {"bound", Behaviour{}, State::bound, true, true},
        {"version 1: no settings to open", Behaviour{.version = 1}, State::bound, true, false},
        {"a portal without the registry", Behaviour{.registry = false}, State::bound, true, true},
        {"cancelled by the user", Behaviour{.bindResponse = 1}, State::unbound, false, true},
        {"bind failed", Behaviour{.bindResponse = 2}, State::failed, false, true},
        {"an empty bind reply binds nothing", Behaviour{.emptyBindReply = true}, State::unbound,
         false, true},
        {"Plasma 5.27 binds at CreateSession: no BindShortcuts, which opens System Settings",
         Behaviour{.bindsAtCreateSession = true}, State::bound, true, true, 3},
        {"session refused", Behaviour{.createResponse = 2}, State::failed, false, false, 3},
        {"no GlobalShortcuts", Behaviour{.globalShortcuts = false}, State::unavailable, false,
         false, 2},
        {"no portal", std::nullopt, State::unavailable, false, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortalSession session(row.behaviour);
        ASSERT_TRUE(session.bus.running());
        ASSERT_TRUE(session.settled());
        EXPECT_EQ(session.client->state(), row.state);
        EXPECT_EQ(session.client->canConfigure(), row.canConfigure);
        const QString summon = session.client->triggerDescription("summon");
        EXPECT_EQ(summon, row.triggers ? FakeDesktopPortal::describe("CTRL+ALT+LOGO+q") : "");
        if (!session.portal) continue;
        const QStringList calls = fullRun.first(row.calls);
        EXPECT_EQ(session.portal->calls, calls);
        EXPECT_EQ(session.portal->registeredId, row.behaviour->registry ? kApplicationId : "");
        // Both in one request, and in CreateSession's option for Plasma 5.27's backend.
        const QStringList both{"summon", "keep-on-screen"};
        if (calls.contains("CreateSession")) {
            EXPECT_EQ(ids(session.portal->sessionShortcuts), both);
        }
        EXPECT_EQ(ids(session.portal->boundShortcuts),
                  calls.contains("BindShortcuts") ? both : QStringList());
    }
}

TEST(GlobalShortcutsPortalTest, FollowsTheSessionsSignals) {
    PortalSession session(Behaviour{});
    ASSERT_TRUE(session.settled());
    FakeDesktopPortal& portal = *session.portal;

    // Another program's session shares the signal; only ours counts.
    portal.activate(portal.session + "_other", "summon", "x");
    portal.activate(portal.session, "summon", "token-1");
    ASSERT_TRUE(runUntil([&] { return !session.activations.isEmpty(); }));
    EXPECT_EQ(session.activations, QStringList{"summon/token-1"});

    // A key held down repeats Activated until one Deactivated: one press. Released and pressed
    // again, it counts again; so does a press a second after a desktop that never says released.
    portal.deactivate("summon", 1250);
    for (uint64_t ms : {1300, 1340, 1380}) portal.activate(portal.session, "summon", "", ms);
    portal.deactivate("summon", 1400);
    portal.activate(portal.session, "summon", "again", 1500);
    portal.activate(portal.session, "summon", "later", 2600);
    ASSERT_TRUE(runUntil([&] { return session.activations.size() >= 4; }));
    EXPECT_EQ(session.activations,
              (QStringList{"summon/token-1", "summon/", "summon/again", "summon/later"}));
    session.activations.clear();

    // The user rebinds the key in the desktop's settings.
    const int changesBefore = session.changes;
    portal.changeShortcuts({{"summon", {{"trigger_description", "Meta+F12"}}}});
    ASSERT_TRUE(runUntil([&] { return session.changes > changesBefore; }));
    EXPECT_EQ(session.client->triggerDescription("summon"), "Meta+F12");
    EXPECT_EQ(session.client->triggerDescription("keep-on-screen"), "");

    session.client->configure("token-2");
    ASSERT_TRUE(runUntil([&] { return portal.calls.contains("ConfigureShortcuts"); }));

    // Closed once: opened again, under the same session token, and bound again.
    const QString first = portal.session;
    portal.closeSession();
    ASSERT_TRUE(runUntil([&] { return portal.calls.count("BindShortcuts") == 2; }));
    ASSERT_TRUE(runUntil([&] { return session.client->state() == State::bound; }));
    EXPECT_EQ(portal.session, first);
    portal.activate(portal.session, "keep-on-screen", QString());
    ASSERT_TRUE(runUntil([&] { return session.activations.size() == 1; }));

    // Closed again: given up, and the keys are nobody's.
    portal.closeSession();
    ASSERT_TRUE(runUntil([&] { return session.client->state() == State::failed; }));
    EXPECT_EQ(portal.calls.count("CreateSession"), 2);
    EXPECT_EQ(session.client->triggerDescription("summon"), "");
}

TEST(GlobalShortcutsPortalTest, AFloodOfActivatedIsOnePress) {
    PortalSession session(Behaviour{});
    ASSERT_TRUE(session.settled());
    FakeDesktopPortal& portal = *session.portal;
    // Presses a second apart by their own times, arriving a millisecond apart, for shortcuts of
    // ours and of nobody's.
    session.step = std::chrono::milliseconds(1);
    for (int i = 0; i < 10'000; ++i) {
        const QString id = i % 2 ? "summon" : QStringLiteral("other-%1").arg(i);
        portal.activate(portal.session, id, QString(), 1000 * i);
    }
    const int changesBefore = session.changes;
    portal.changeShortcuts({});  // comes after them all
    ASSERT_TRUE(runUntil([&] { return session.changes > changesBefore; }));
    EXPECT_EQ(session.activations, QStringList{"summon/"});

    session.step = std::chrono::milliseconds(200);  // a person's next press
    portal.activate(portal.session, "summon", "next", 20'000'000);
    ASSERT_TRUE(runUntil([&] { return session.activations.size() == 2; }));

    // A desktop that sends no press time: each press a person makes still counts.
    for (const char* token : {"untimed-1", "untimed-2"})
        portal.activate(portal.session, "summon", token, 0);
    ASSERT_TRUE(runUntil([&] { return session.activations.size() == 4; }));
}

}  // namespace
}  // namespace glintdeck
