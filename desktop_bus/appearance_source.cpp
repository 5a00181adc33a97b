#include "desktop_bus/appearance_source.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QGuiApplication>
#include <utility>

#include "desktop_bus/portal_address.h"

namespace glintdeck {
namespace {

using portal::kPath;
using portal::kService;
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");
const QString kContrast = QStringLiteral("contrast");
constexpr int kTimeoutMs = 200;
// About a frame: an announced change waits this long for the ones that follow it.
constexpr int kApplyDelayMs = 16;

// Read answers a variant inside a variant on portals of every version; unwrap all layers.
QVariant unwrapped(QVariant value) {
    while (value.canConvert<QDBusVariant>() &&
           value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}

std::optional<uint32_t> asUnsigned(const QVariant& value) {
    bool ok = false;
    uint32_t number = value.toUInt(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

}  // namespace

std::optional<Appearance> appearanceFromColorScheme(uint32_t colorScheme) {
    if (colorScheme == 1) return Appearance::dark;
    if (colorScheme == 2) return Appearance::light;
    return std::nullopt;
}

Appearance appearanceFromPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128 ? Appearance::dark : Appearance::light;
}

AppearanceSource::AppearanceSource(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    published_ = {appearance(), reduceTransparency()};
    if (auto* app = QCoreApplication::instance()) app->installEventFilter(this);
    applyTimer_.setSingleShot(true);
    applyTimer_.setInterval(kApplyDelayMs);
    connect(&applyTimer_, &QTimer::timeout, this, &AppearanceSource::applyAnnounced);
}

void AppearanceSource::start() {
    if (!bus_.isConnected()) return;
    // QtDBus matches the slot's parameter types by name; QDBusVariant's name is known only once
    // its meta type is registered, which nothing else guarantees before the first message.
    qRegisterMetaType<QDBusVariant>();
    bus_.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                 SLOT(settingChanged(QString, QString, QDBusVariant)));
    read(kColorScheme);
    read(kContrast);
}

void AppearanceSource::read(const QString& key) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << kGroup << key;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                QDBusPendingReply<QDBusVariant> reply = *finished;
                // No portal, no such setting, or too slow: the palette keeps deciding.
                if (reply.isError()) return;
                store(key, reply.value().variant());
                publish();
            });
}

void AppearanceSource::settingChanged(const QString& group, const QString& key,
                                      const QDBusVariant& value) {
    if (group != kGroup || (key != kColorScheme && key != kContrast)) return;
    announced_.insert(key, value.variant());
    if (!applyTimer_.isActive()) applyTimer_.start();
}

void AppearanceSource::applyAnnounced() {
    const QMap<QString, QVariant> announced = std::exchange(announced_, {});
    for (auto value = announced.cbegin(); value != announced.cend(); ++value) {
        store(value.key(), value.value());
    }
    publish();
}

void AppearanceSource::store(const QString& key, const QVariant& value) {
    std::optional<uint32_t> number = asUnsigned(unwrapped(value));
    if (key == kColorScheme) {
        portalAppearance_ = number ? appearanceFromColorScheme(*number) : std::nullopt;
    } else if (key == kContrast) {
        highContrast_ = number == 1u;
    }
}

Appearance AppearanceSource::appearance() const {
    return portalAppearance_.value_or(appearanceFromPalette(QGuiApplication::palette()));
}

bool AppearanceSource::reduceTransparency() const { return !compositingActive_ || highContrast_; }

Subscription AppearanceSource::subscribe(std::function<void()> onChange) {
    return reduceTransparencyNotifier_.subscribe(
        [onChange = std::move(onChange)](bool) { onChange(); });
}

void AppearanceSource::setCompositingActive(bool active) {
    compositingActive_ = active;
    publish();
}

void AppearanceSource::publish() {
    if (Appearance now = appearance(); now != published_.appearance) {
        published_.appearance = now;
        Q_EMIT appearanceChanged(now);
    }
    if (bool now = reduceTransparency(); now != published_.reduceTransparency) {
        published_.reduceTransparency = now;
        reduceTransparencyNotifier_.notify(now);
        Q_EMIT reduceTransparencyChanged(now);
    }
}

bool AppearanceSource::eventFilter(QObject* watched, QEvent* event) {
    // The palette decides only while the portal has not; a palette change can flip it then.
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp) publish();
    return QObject::eventFilter(watched, event);
}

}  // namespace glintdeck
