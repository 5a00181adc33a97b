#include "desktop_bus/desktop_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <utility>

namespace glintdeck {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kShowAction = QStringLiteral("show");
// A service started on demand by the bus takes a moment to come up; longer is no service.
constexpr int kTimeoutMs = 3000;

void printLine(const QString& line) { std::fprintf(stderr, "glintdeck: %s\n", qPrintable(line)); }

}  // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, Log log, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), log_(log ? std::move(log) : Log(printLine)) {}

void DesktopNotifications::start() {
    if (!bus_.isConnected()) {
        state_ = State::unavailable;
        log_(QStringLiteral("no session bus: alerts are not shown"));
        return;
    }
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActivationToken"), this,
                 SLOT(activationToken(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                QDBusPendingReply<QStringList> reply = *finished;
                if (reply.isError()) {
                    state_ = State::unavailable;
                    log_(QStringLiteral("no desktop notification service (%1): alerts are not "
                                        "shown")
                             .arg(reply.error().message()));
                    return;
                }
                state_ = State::available;
                bodyMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
            });
}

void DesktopNotifications::notify(const QString& title, const QString& body, OnShow onShow) {
    if (state_ == State::unavailable) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // "default" is what a click on the notification itself invokes; servers draw no button for it.
    const QStringList actions{QStringLiteral("default"), QStringLiteral("Show"), kShowAction,
                              QStringLiteral("Show")};
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("org.glintdeck.Glintdeck")}};
    call << QStringLiteral("Glintdeck") << uint(0) << QStringLiteral("glintdeck") << title
         << (bodyMarkup_ ? body.toHtmlEscaped() : body) << actions << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onShow = std::move(onShow)](QDBusPendingCallWatcher* finished) mutable {
                finished->deleteLater();
                QDBusPendingReply<uint> reply = *finished;
                if (reply.isError()) {
                    log_(QStringLiteral("the notification was not shown: %1")
                             .arg(reply.error().message()));
                    return;
                }
                shown_[reply.value()] = std::move(onShow);
            });
}

void DesktopNotifications::activationToken(uint id, const QString& token) {
    if (shown_.contains(id)) tokens_.insert(id, token);
}

void DesktopNotifications::actionInvoked(uint id, const QString& action) {
    auto found = shown_.find(id);
    if (found == shown_.end() || (action != kShowAction && action != QStringLiteral("default"))) {
        return;
    }
    // Servers that keep the notification after an action close it soon; either way it is done.
    OnShow onShow = std::move(found.value());
    shown_.erase(found);
    const QString token = tokens_.take(id);
    if (onShow) onShow(token);
}

void DesktopNotifications::notificationClosed(uint id, uint /*reason*/) {
    shown_.remove(id);
    tokens_.remove(id);
}

}  // namespace glintdeck
