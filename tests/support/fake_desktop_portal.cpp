#include "tests/support/fake_desktop_portal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <utility>

namespace glintdeck {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");

QList<PortalShortcut> shortcutsOf(const QVariant& value) {
    QList<PortalShortcut> list;
    if (value.canConvert<QDBusArgument>()) value.value<QDBusArgument>() >> list;
    return list;
}

// The portal names request and session objects after the caller's unique name and a token.
QString objectPath(const QString& kind, const QString& sender, const QString& token) {
    QString name = sender.mid(1);
    name.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QLatin1Char('/') + kind + QLatin1Char('/') + name + QLatin1Char('/') + token;
}

}  // namespace

FakeDesktopPortal::FakeDesktopPortal(QDBusConnection bus, Behaviour behaviour)
    : bus_(std::move(bus)), behaviour_(behaviour) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    bus_.registerVirtualObject(kPath, this);
}

FakeDesktopPortal::~FakeDesktopPortal() { bus_.unregisterObject(kPath); }

QString FakeDesktopPortal::describe(const QString& preferredTrigger) {
    return QStringLiteral("bound ") + preferredTrigger;
}

void FakeDesktopPortal::activate(const QString& sessionHandle, const QString& id,
                                 const QString& activationToken, uint64_t timestamp) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(sessionHandle)) << id
           << QVariant::fromValue(qulonglong(timestamp))
           << QVariantMap{{QStringLiteral("activation_token"), activationToken}};
    bus_.send(signal);
}

void FakeDesktopPortal::deactivate(const QString& id, uint64_t timestamp) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Deactivated"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << id
           << QVariant::fromValue(qulonglong(timestamp)) << QVariantMap{};
    bus_.send(signal);
}

void FakeDesktopPortal::changeShortcuts(const QList<PortalShortcut>& shortcuts) {
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ShortcutsChanged"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcuts);
    bus_.send(signal);
}

void FakeDesktopPortal::closeSession() {
    QDBusMessage signal = QDBusMessage::createSignal(
        session, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Closed"));
    signal << QVariantMap();
    bus_.send(signal);
}

void FakeDesktopPortal::changeSetting(const QString& key, uint value) {
    appearance[key] = value;
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kSettings, QStringLiteral("SettingChanged"));
    signal << kAppearance << key << QVariant::fromValue(QDBusVariant(value));
    bus_.send(signal);
}

void FakeDesktopPortal::answerCreateSession() {
    if (heldAnswer_) std::exchange(heldAnswer_, {})();
}

QString FakeDesktopPortal::introspect(const QString&) const { return {}; }

bool FakeDesktopPortal::handleMessage(const QDBusMessage& message,
                                      const QDBusConnection& connection) {
    const QString member = message.member();
    const QVariantList arguments = message.arguments();
    calls << member;
    if (message.interface() == kSettings) {
        const auto found = appearance.find(arguments.value(1).toString());
        if (member != QStringLiteral("Read") || arguments.value(0).toString() != kAppearance ||
            found == appearance.end()) {
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                         QStringLiteral("no such setting")));
            return true;
        }
        const QVariant inner = QVariant::fromValue(QDBusVariant(found->second));
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(inner))));
        return true;
    }
    if (member == QStringLiteral("Register")) {
        if (!behaviour_.registry) {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, "no registry"));
            return true;
        }
        registeredId = arguments.value(0).toString();
        connection.send(message.createReply());
        return true;
    }
    if (!behaviour_.globalShortcuts) {
        connection.send(message.createErrorReply(QDBusError::InvalidArgs, "no such interface"));
        return true;
    }
    if (member == QStringLiteral("Get")) {
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(behaviour_.version))));
        return true;
    }
    if (member == QStringLiteral("CreateSession")) {
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(0));
        sessionShortcuts = shortcutsOf(options.value(QStringLiteral("shortcuts")));
        session = objectPath(QStringLiteral("session"), message.service(),
                             options.value(QStringLiteral("session_handle_token")).toString());
        QVariantMap results{{QStringLiteral("session_handle"), session}};
        if (behaviour_.bindsAtCreateSession) {
            results.insert(QStringLiteral("shortcuts"), boundList(sessionShortcuts));
        }
        heldAnswer_ = [this, message, results] {
            answer(message, QStringLiteral("request"), behaviour_.createResponse, results);
        };
        if (!behaviour_.holdCreateSession) answerCreateSession();
        return true;
    }
    if (member == QStringLiteral("BindShortcuts")) {
        boundShortcuts = shortcutsOf(arguments.value(1));
        answer(message, QStringLiteral("request"), behaviour_.bindResponse,
               {{QStringLiteral("shortcuts"),
                 boundList(behaviour_.emptyBindReply ? QList<PortalShortcut>() : boundShortcuts)}});
        return true;
    }
    if (member == QStringLiteral("ConfigureShortcuts")) {
        connection.send(message.createReply());
        return true;
    }
    return false;
}

void FakeDesktopPortal::answer(const QDBusMessage& message, const QString& kind, uint response,
                               const QVariantMap& results) {
    const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().last());
    const QString request = objectPath(kind, message.service(),
                                       options.value(QStringLiteral("handle_token")).toString());
    bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage signal = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    signal << response << (response == 0 ? results : QVariantMap());
    bus_.send(signal);
}

QVariant FakeDesktopPortal::boundList(const QList<PortalShortcut>& asked) const {
    QList<PortalShortcut> bound;
    for (const PortalShortcut& shortcut : asked) {
        const QString preferred =
            shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
        bound.append({shortcut.id, {{QStringLiteral("trigger_description"), describe(preferred)}}});
    }
    return QVariant::fromValue(bound);
}

}  // namespace glintdeck
