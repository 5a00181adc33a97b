#include "desktop_bus/desktop_notifications.h"

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringList>

#include "tests/support/private_bus.h"
#include "tests/support/run_until.h"

namespace glintdeck {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// The notification service on a private bus: answers GetCapabilities and Notify as daemons do,
// records each Notify's arguments, and sends the signals a click sends.
class FakeNotificationService final : public QDBusVirtualObject {
  public:
    FakeNotificationService(QDBusConnection bus, QStringList capabilities)
        : bus_(std::move(bus)), capabilities_(std::move(capabilities)) {
        bus_.registerService(kInterface);
        bus_.registerVirtualObject(kPath, this);
    }
    ~FakeNotificationService() override { bus_.unregisterObject(kPath); }

    void send(const QString& member, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, member);
        signal.setArguments(arguments);
        bus_.send(signal);
    }

    QList<QVariantList> notified;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == "GetCapabilities") {
            connection.send(message.createReply(capabilities_));
        } else if (message.member() == "Notify") {
            notified << message.arguments();
            connection.send(message.createReply(uint(40 + notified.size())));
        } else {
            return false;
        }
        return true;
    }

  private:
    QDBusConnection bus_;
    QStringList capabilities_;
};

TEST(DesktopNotificationsTest, SendsOneNotificationAndHearsOnlyItsShowFromTheService) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
    FakeNotificationService service(bus.connect("service"), {"actions", "body-markup"});
    DesktopNotifications notifications(bus.connect("client"));
    notifications.start();
    ASSERT_TRUE(
        runUntil([&] { return notifications.state() != DesktopNotifications::State::starting; }));
    EXPECT_EQ(notifications.state(), DesktopNotifications::State::available);

    QStringList shown;
    notifications.notify("<i>yes</i> is using a whole processor core", "99% of a core & more",
                         [&](const QString& token) { shown << "show " + token; });
    ASSERT_TRUE(runUntil([&] { return !service.notified.isEmpty(); }));
    const QVariantList call = service.notified.first();
    ASSERT_EQ(call.size(), 8);
    EXPECT_EQ(call[0].toString(), "Glintdeck");
    EXPECT_EQ(call[3].toString(), "<i>yes</i> is using a whole processor core")
        << "the summary is plain text by the protocol";
    EXPECT_EQ(call[4].toString(), "99% of a core &amp; more")
        << "a server that reads markup in bodies gets none of ours";
    EXPECT_EQ(call[5].toStringList(), (QStringList{"default", "Show", "show", "Show"}));

    // The id of our notification is known once Notify has answered; clicks on other
    // notifications, and other actions, are not ours.
    service.send("ActionInvoked", {uint(7), "show"});
    service.send("ActionInvoked", {uint(41), "snooze"});
    // Another program on the bus cannot click for the user.
    QDBusConnection intruder = bus.connect("intruder");
    QDBusMessage fake = QDBusMessage::createSignal(kPath, kInterface, "ActionInvoked");
    fake << uint(41) << "show";
    intruder.send(fake);
    service.send("ActivationToken", {uint(41), "token-1"});
    service.send("ActionInvoked", {uint(41), "show"});
    ASSERT_TRUE(runUntil([&] { return !shown.isEmpty(); }));
    // Once picked, the notification is done: a second signal does nothing.
    service.send("ActionInvoked", {uint(41), "default"});
    runUntil([] { return false; }, 200);
    EXPECT_EQ(shown, QStringList{"show token-1"});
}

TEST(DesktopNotificationsTest, WithoutAServiceSaysSoOnceAndSendsNothing) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
    QStringList lines;
    DesktopNotifications notifications(bus.connect("client"),
                                       [&](const QString& line) { lines << line; });
    notifications.start();
    ASSERT_TRUE(
        runUntil([&] { return notifications.state() != DesktopNotifications::State::starting; }));
    EXPECT_EQ(notifications.state(), DesktopNotifications::State::unavailable);
    // A service that turns up later is not asked: the user was told there are no alerts.
    FakeNotificationService late(bus.connect("service"), {});
    notifications.notify("title", "body", nullptr);
    runUntil([] { return false; }, 200);
    EXPECT_TRUE(late.notified.isEmpty());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("no desktop notification service")) << lines[0].toStdString();
}

}  // namespace
}  // namespace glintdeck
