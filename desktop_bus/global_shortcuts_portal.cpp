#include "desktop_bus/global_shortcuts_portal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <algorithm>
#include <utility>

#include "desktop_bus/portal_address.h"

namespace glintdeck {
namespace {

using portal::kPath;
using portal::kService;
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRegistry = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
// The same token every time: the desktop recognises the session of a program it has seen.
const QString kSessionToken = QStringLiteral("glintdeck");

// The portal's answers: 0 success, 1 cancelled by the user, anything else a failure.
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kCancelled = 1;

QList<PortalShortcut> shortcutsOf(const QVariant& list) {
    QList<PortalShortcut> shortcuts;
    if (list.canConvert<QDBusArgument>()) list.value<QDBusArgument>() >> shortcuts;
    return shortcuts;
}

// Whatever the error, the bus itself answered that nobody owns the portal's name.
bool noPortal(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoReply ||
           error.type() == QDBusError::Disconnected;
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

GlobalShortcutsPortal::GlobalShortcutsPortal(QString applicationId, QDBusConnection bus, Now now,
                                             QObject* parent)
    : QObject(parent),
      applicationId_(std::move(applicationId)),
      bus_(std::move(bus)),
      now_(std::move(now)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

void GlobalShortcutsPortal::start(QList<Shortcut> shortcuts) {
    shortcuts_ = std::move(shortcuts);
    if (!bus_.isConnected()) {
        setState(State::unavailable);
        return;
    }
    bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                 SLOT(activatedSignal(QDBusMessage)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("Deactivated"), this,
                 SLOT(deactivatedSignal(QDBusMessage)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ShortcutsChanged"), this,
                 SLOT(shortcutsChanged(QDBusMessage)));
    registerApplication();
}

void GlobalShortcutsPortal::registerApplication() {
    // Portals from 1.19 on learn a host program's id only this way, and only before its first
    // other call; older ones lack the interface, which is no reason to stop.
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kRegistry, QStringLiteral("Register"));
    call << applicationId_ << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError() && noPortal(w->error())) {
            setState(State::unavailable);
            return;
        }
        readVersion();
    });
}

void GlobalShortcutsPortal::readVersion() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kInterface << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isError()) {
            setState(State::unavailable);
            return;
        }
        version_ = reply.value().variant().toUInt();
        createSession();
    });
}

void GlobalShortcutsPortal::createSession() {
    request(Step::createSession, QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), kSessionToken},
             {QStringLiteral("shortcuts"), shortcutList()}});
}

void GlobalShortcutsPortal::bindShortcuts() {
    request(Step::bindShortcuts, QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(session_)), shortcutList(), QString()}, {});
}

void GlobalShortcutsPortal::request(Step step, const QString& method, const QVariantList& arguments,
                                    QVariantMap options) {
    // The answer may come before the call's reply, so follow the request object first.
    const QString token = QStringLiteral("glintdeck_%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    followRequest(objectPathFor(QStringLiteral("request"), token));
    pending_ = step;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(QVariantList(arguments) << options);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            followRequest({});
            pending_ = Step::none;
            setState(noPortal(reply.error()) ? State::unavailable : State::failed);
            return;
        }
        // Portals before 0.9 chose the request object's path themselves.
        if (reply.value().path() != requestPath_ && pending_ != Step::none) {
            followRequest(reply.value().path());
        }
    });
}

void GlobalShortcutsPortal::followRequest(const QString& path) {
    if (!requestPath_.isEmpty()) {
        bus_.disconnect(kService, requestPath_, kRequest, QStringLiteral("Response"), this,
                        SLOT(requestAnswered(QDBusMessage)));
    }
    requestPath_ = path;
    if (!path.isEmpty()) {
        bus_.connect(kService, path, kRequest, QStringLiteral("Response"), this,
                     SLOT(requestAnswered(QDBusMessage)));
    }
}

void GlobalShortcutsPortal::requestAnswered(const QDBusMessage& message) {
    if (message.path() != requestPath_) return;
    const Step step = std::exchange(pending_, Step::none);
    followRequest({});
    const QVariantList arguments = message.arguments();
    const uint32_t response = arguments.value(0).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(arguments.value(1));
    if (response != kSuccess) {
        triggers_.clear();
        setState(response == kCancelled ? State::unbound : State::failed);
        return;
    }
    if (step == Step::createSession) {
        sessionCreated(results);
    } else if (step == Step::bindShortcuts) {
        applyShortcuts(shortcutsOf(results.value(QStringLiteral("shortcuts"))));
    }
}

void GlobalShortcutsPortal::sessionCreated(const QVariantMap& results) {
    // A string on every portal so far; an object path would carry the same text.
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    session_ = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                    : handle.toString();
    if (session_.isEmpty()) {
        setState(State::failed);
        return;
    }
    bus_.connect(kService, session_, kSession, QStringLiteral("Closed"), this,
                 SLOT(sessionClosed(QDBusMessage)));
    // Plasma 5.27 binds what CreateSession's option carried and lists it here; its BindShortcuts
    // would only open System Settings' shortcut page, at every start of the program.
    const QList<PortalShortcut> bound = shortcutsOf(results.value(QStringLiteral("shortcuts")));
    const bool allBound = std::ranges::all_of(shortcuts_, [&](const Shortcut& wanted) {
        return std::ranges::any_of(
            bound, [&](const PortalShortcut& shortcut) { return shortcut.id == wanted.id; });
    });
    if (!bound.isEmpty() && allBound) {
        applyShortcuts(bound);
        return;
    }
    bindShortcuts();
}

void GlobalShortcutsPortal::applyShortcuts(const QList<PortalShortcut>& bound) {
    triggers_.clear();
    for (const PortalShortcut& shortcut : bound) {
        triggers_.insert(
            shortcut.id,
            shortcut.properties.value(QStringLiteral("trigger_description")).toString());
    }
    // An empty list is the desktop's way of saying it bound nothing.
    state_ = bound.isEmpty() ? State::unbound : State::bound;
    Q_EMIT changed();
}

bool GlobalShortcutsPortal::isOurs(const QDBusMessage& message) const {
    return !session_.isEmpty() &&
           message.arguments().value(0).value<QDBusObjectPath>().path() == session_;
}

void GlobalShortcutsPortal::activatedSignal(const QDBusMessage& message) {
    if (!isOurs(message)) return;
    const QVariantList arguments = message.arguments();
    const QString id = arguments.value(1).toString();
    // Only ours: what is kept per shortcut stays as small as our list.
    if (std::ranges::none_of(shortcuts_, [&](const Shortcut& ours) { return ours.id == id; })) {
        return;
    }
    const auto arrival = now_();
    const auto previous = arrived_.constFind(id);
    const bool sameArrival =
        previous != arrived_.constEnd() && arrival - *previous < kPressInterval;
    arrived_.insert(id, arrival);
    if (sameArrival) return;
    const uint64_t timestamp = arguments.value(2).toULongLong();
    // A key held down is Activated again and again (Plasma: every 40 ms) and Deactivated once,
    // when released: only the first press counts, or the strip would flicker for as long as the
    // key is held. A desktop that never sends Deactivated still gets each press a second apart;
    // one that sends no time (0) has only the arrival window above.
    const auto held = held_.constFind(id);
    const bool repeat =
        timestamp != 0 && held != held_.constEnd() && timestamp - *held < kRepeatWindowMs;
    held_.insert(id, timestamp);
    if (repeat) return;
    const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(3));
    Q_EMIT activated(id, options.value(QStringLiteral("activation_token")).toString(), timestamp);
}

void GlobalShortcutsPortal::deactivatedSignal(const QDBusMessage& message) {
    if (isOurs(message)) held_.remove(message.arguments().value(1).toString());
}

void GlobalShortcutsPortal::shortcutsChanged(const QDBusMessage& message) {
    if (!isOurs(message)) return;
    applyShortcuts(shortcutsOf(message.arguments().value(1)));
}

void GlobalShortcutsPortal::sessionClosed(const QDBusMessage& message) {
    if (message.path() != session_) return;
    bus_.disconnect(kService, session_, kSession, QStringLiteral("Closed"), this,
                    SLOT(sessionClosed(QDBusMessage)));
    session_.clear();
    triggers_.clear();
    // A desktop restarting its shortcut service closes sessions; one more try, not a loop with
    // a desktop that keeps closing them.
    if (reopened_) {
        setState(State::failed);
        return;
    }
    reopened_ = true;
    setState(State::starting);
    createSession();
}

QString GlobalShortcutsPortal::triggerDescription(const QString& id) const {
    return triggers_.value(id);
}

bool GlobalShortcutsPortal::canConfigure() const { return version_ >= 2 && !session_.isEmpty(); }

void GlobalShortcutsPortal::configure(const QString& activationToken) {
    if (!canConfigure()) return;
    QVariantMap options;
    if (!activationToken.isEmpty()) {
        options.insert(QStringLiteral("activation_token"), activationToken);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("ConfigureShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QString() << options;
    bus_.asyncCall(call);
}

void GlobalShortcutsPortal::setState(State state) {
    if (state == state_) return;
    state_ = state;
    Q_EMIT changed();
}

QVariant GlobalShortcutsPortal::shortcutList() const {
    QList<PortalShortcut> list;
    for (const Shortcut& shortcut : shortcuts_) {
        list.append({shortcut.id,
                     {{QStringLiteral("description"), shortcut.description},
                      {QStringLiteral("preferred_trigger"), shortcut.preferredTrigger}}});
    }
    return QVariant::fromValue(list);
}

QString GlobalShortcutsPortal::objectPathFor(const QString& kind, const QString& token) const {
    // The portal names request and session objects after the caller's unique bus name.
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') + token;
}

}  // namespace glintdeck
