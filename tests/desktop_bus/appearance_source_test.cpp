#include "desktop_bus/appearance_source.h"
#include "app/session_bus.h"
#include "tests/support/fake_desktop_portal.h"
#include "tests/support/private_bus.h"
#include "tests/support/run_until.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace glintdeck {
namespace {

// A private bus with the portal on it, whose settings say dark and no high contrast.
class PortalOnBus : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
        portal.appearance = {{"color-scheme", 1}, {"contrast", 0}};
    }

    PrivateBus bus;
    FakeDesktopPortal portal{bus.connect("portal"), {}};
};

TEST_F(PortalOnBus, PortalDecidesAndIsFollowed) {
    QApplication::setPalette(QPalette(Qt::white));  // the palette says light: the portal wins

    QDBusConnection client = bus.connect("client");
    AppearanceSource source(client);
    std::vector<Appearance> appearances;
    std::vector<bool> reduced;
    QObject::connect(&source, &AppearanceSource::appearanceChanged,
                     [&](Appearance appearance) { appearances.push_back(appearance); });
    QObject::connect(&source, &AppearanceSource::reduceTransparencyChanged,
                     [&](bool on) { reduced.push_back(on); });
    EXPECT_EQ(source.appearance(), Appearance::light) << "until the portal answers";
    source.start();
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::dark; }));

    portal.changeSetting("color-scheme", 2);
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::light; }));
    portal.changeSetting("contrast", 1);
    ASSERT_TRUE(runUntil([&] { return source.reduceTransparency(); }));
    portal.changeSetting("color-scheme", 0);  // no preference: the palette again
    QApplication::setPalette(QPalette(Qt::black));
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::dark; }));

    EXPECT_EQ(appearances, (std::vector{Appearance::dark, Appearance::light, Appearance::dark}));
    EXPECT_EQ(reduced, std::vector{true});
    QApplication::setPalette(QPalette());
}

TEST_F(PortalOnBus, AFloodOfChangesIsAppliedAtMostOnceAFrame) {
    AppearanceSource source(bus.connect("client"));
    source.start();
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::dark; }));
    int applied = 0;
    QObject::connect(&source, &AppearanceSource::appearanceChanged, [&] { ++applied; });

    QElapsedTimer elapsed;
    elapsed.start();
    for (uint i = 1; i <= 2000; ++i) portal.changeSetting("color-scheme", 2 - i % 2);
    portal.changeSetting("contrast", 1);  // comes after them all
    ASSERT_TRUE(runUntil([&] { return source.reduceTransparency(); }));
    EXPECT_EQ(source.appearance(), Appearance::light) << "the last one holds";
    EXPECT_LE(applied, 2 + elapsed.elapsed() / 15) << "in " << elapsed.elapsed() << " ms";
}

// A running bus, named in the environment or found as the user bus socket, is left alone;
// without one, the address given makes libdbus fail at once instead of autolaunching a bus.
// (libdbus reads the session address once a process, so the program's own run is checked end
// to end: the e2e sessions without a bus fail when one was autolaunched.)
TEST(SessionBusTest, OnlyAMissingBusIsReplaced) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray addressBefore = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus");
    keepSessionBusFromAutolaunching();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/run/user/1000/bus");

    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    keepSessionBusFromAutolaunching();
    const QString replaced = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    ASSERT_FALSE(replaced.isEmpty());  // unset, libdbus would autolaunch
    QDBusConnection bus = QDBusConnection::connectToBus(replaced, "replaced");
    EXPECT_FALSE(bus.isConnected());
    EXPECT_FALSE(bus.lastError().message().contains("autolaunch", Qt::CaseInsensitive))
        << bus.lastError().message().toStdString();
    QDBusConnection::disconnectFromBus("replaced");

    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    {
        PrivateBus userBus("unix:path=" + runtime.path() + "/bus");
        ASSERT_TRUE(userBus.running());
        keepSessionBusFromAutolaunching();
        EXPECT_TRUE(qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty());
    }
    for (const auto& [name, value] : {std::pair{"DBUS_SESSION_BUS_ADDRESS", addressBefore},
                                      std::pair{"XDG_RUNTIME_DIR", runtimeBefore}}) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    }
}

// Without a bus the palette decides, and a missing compositing manager reduces transparency.
TEST(AppearanceSourceTest, WithoutABusThePaletteAndTheCompositingManagerDecide) {
    AppearanceSource source(QDBusConnection("not connected"));
    std::vector<bool> reduced;
    QObject::connect(&source, &AppearanceSource::reduceTransparencyChanged,
                     [&](bool on) { reduced.push_back(on); });
    // The settings follow the same flag through their source interface.
    ReduceTransparencySource& settingsSource = source;
    int settingsCalls = 0;
    Subscription subscription = settingsSource.subscribe([&] { ++settingsCalls; });
    source.start();
    QApplication::setPalette(QPalette(Qt::black));
    EXPECT_EQ(source.appearance(), Appearance::dark);
    QApplication::setPalette(QPalette(Qt::white));
    EXPECT_EQ(source.appearance(), Appearance::light);
    QApplication::setPalette(QPalette());

    EXPECT_FALSE(settingsSource.reduceTransparency());
    source.setCompositingActive(false);
    source.setCompositingActive(false);
    EXPECT_TRUE(settingsSource.reduceTransparency());
    source.setCompositingActive(true);
    EXPECT_EQ(reduced, (std::vector{true, false}));
    EXPECT_EQ(settingsCalls, 2);
}

}  // namespace
}  // namespace glintdeck
