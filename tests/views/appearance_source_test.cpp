#include "views/appearance_source.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <map>

namespace glintdeck {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");

// A session bus of the test's own, ended with the test: no daemon is left behind.
class PrivateBus {
  public:
    // listen: a D-Bus address to listen on instead of the session configuration's.
    explicit PrivateBus(const QString& listen = {}) {
        QStringList arguments{"--session", "--nofork", "--nopidfile", "--print-address=1"};
        if (!listen.isEmpty()) arguments << QStringLiteral("--address=") + listen;
        daemon_.start(QStringLiteral("dbus-daemon"), arguments);
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead()) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    [[nodiscard]] QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }
    [[nodiscard]] bool running() const { return !address_.isEmpty(); }

  private:
    QProcess daemon_;
    QString address_;
};

// The desktop portal's Settings interface, answering Read the way every portal version does
// (a variant inside a variant) and able to announce changes.
class FakePortal final : public QDBusVirtualObject {
  public:
    explicit FakePortal(QDBusConnection bus) : bus_(std::move(bus)) {
        bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        bus_.registerVirtualObject(kPath, this);
    }
    ~FakePortal() override { bus_.unregisterObject(kPath); }

    std::map<QString, uint> settings;

    void change(const QString& key, uint value) {
        settings[key] = value;
        QDBusMessage signal =
            QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("SettingChanged"));
        signal << kGroup << key << QVariant::fromValue(QDBusVariant(value));
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("Read")) return false;
        QString key = message.arguments().value(1).toString();
        auto found = settings.find(key);
        if (message.arguments().value(0).toString() != kGroup || found == settings.end()) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.portal.Error.NotFound"), "no such setting"));
            return true;
        }
        QVariant inner = QVariant::fromValue(QDBusVariant(found->second));
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(inner))));
        return true;
    }

  private:
    QDBusConnection bus_;
};

// Runs the event loop until `done` holds; the timer only ends a test that would hang.
template <typename Done>
bool runUntil(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

TEST(AppearanceSourceTest, PortalDecidesAndIsFollowed) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
    FakePortal portal(bus.connect(QStringLiteral("portal")));
    portal.settings = {{QStringLiteral("color-scheme"), 1}, {QStringLiteral("contrast"), 0}};
    QApplication::setPalette(QPalette(Qt::white));  // the palette says light: the portal wins

    QDBusConnection client = bus.connect(QStringLiteral("client"));
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

    portal.change(QStringLiteral("color-scheme"), 2);
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::light; }));
    portal.change(QStringLiteral("contrast"), 1);
    ASSERT_TRUE(runUntil([&] { return source.reduceTransparency(); }));
    portal.change(QStringLiteral("color-scheme"), 0);  // no preference: the palette again
    QApplication::setPalette(QPalette(Qt::black));
    ASSERT_TRUE(runUntil([&] { return source.appearance() == Appearance::dark; }));

    EXPECT_EQ(appearances, (std::vector{Appearance::dark, Appearance::light, Appearance::dark}));
    EXPECT_EQ(reduced, std::vector{true});
    QApplication::setPalette(QPalette());
}

TEST(AppearanceSourceTest, WithoutABusThePaletteDecides) {
    AppearanceSource source(QDBusConnection(QStringLiteral("not connected")));
    source.start();
    QApplication::setPalette(QPalette(Qt::black));
    EXPECT_EQ(source.appearance(), Appearance::dark);
    QApplication::setPalette(QPalette(Qt::white));
    EXPECT_EQ(source.appearance(), Appearance::light);
    QApplication::setPalette(QPalette());
}

// A user bus socket in the runtime folder is used without an address in the environment;
// where neither is found no bus is started for us (libdbus would autolaunch one, slowly).
TEST(AppearanceSourceTest, TheSessionBusIsUsedOnlyWhereOneRuns) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray addressBefore = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    EXPECT_FALSE(AppearanceSource::sessionBusIfRunning().isConnected());
    {
        PrivateBus userBus(QStringLiteral("unix:path=") + runtime.path() + "/bus");
        if (userBus.running()) {
            EXPECT_TRUE(AppearanceSource::sessionBusIfRunning().isConnected());
        }
    }
    for (const auto& [name, value] : {std::pair{"DBUS_SESSION_BUS_ADDRESS", addressBefore},
                                      std::pair{"XDG_RUNTIME_DIR", runtimeBefore}}) {
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
}

TEST(AppearanceSourceTest, NoCompositingManagerReducesTransparency) {
    AppearanceSource source(QDBusConnection(QStringLiteral("not connected")));
    std::vector<bool> reduced;
    QObject::connect(&source, &AppearanceSource::reduceTransparencyChanged,
                     [&](bool on) { reduced.push_back(on); });
    // The settings follow the same flag through their source interface.
    ReduceTransparencySource& settingsSource = source;
    int settingsCalls = 0;
    Subscription subscription = settingsSource.subscribe([&] { ++settingsCalls; });
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
