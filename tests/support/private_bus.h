#pragma once

#include <QDBusConnection>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <QTimer>

namespace glintdeck {

// A session bus of the test's own, ended with the test: no daemon is left behind. Connections
// made through connect() are closed with it. Nothing on it is activatable: a service the test
// does not provide is missing, never the machine's own (a real desktop portal among them).
class PrivateBus {
  public:
    // listen: a D-Bus address to listen on instead of a fresh socket in /tmp.
    explicit PrivateBus(const QString& listen = {}) {
        if (!config_.open()) return;
        config_.write(
            R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)");
        config_.flush();
        QStringList arguments{QStringLiteral("--config-file=") + config_.fileName(), "--nofork",
                              "--nopidfile", "--print-address=1"};
        if (!listen.isEmpty()) arguments << QStringLiteral("--address=") + listen;
        daemon_.start(QStringLiteral("dbus-daemon"), arguments);
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead()) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] QDBusConnection connect(const QString& name) {
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }
    [[nodiscard]] bool running() const { return !address_.isEmpty(); }

  private:
    QTemporaryFile config_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

// Runs the event loop until `done` holds; the timer only ends a test that would hang, or, given a
// shorter limit, lets a test see that nothing more arrives.
template <typename Done>
bool runUntil(Done done, int limitMs = 10000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

}  // namespace glintdeck
