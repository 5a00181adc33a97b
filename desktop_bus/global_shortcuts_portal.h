#pragma once

#include <QDBusConnection>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <chrono>
#include <cstdint>
#include <functional>

class QDBusArgument;
class QDBusMessage;

namespace glintdeck {

// One entry of the portal's shortcut lists, D-Bus type (sa{sv}): an id and its properties
// ("description", "preferred_trigger" asked; "trigger_description" answered).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// The desktop's global shortcuts through the XDG desktop portal
// (org.freedesktop.portal.GlobalShortcuts): the way keys reach a program from any window in
// Wayland sessions, where a program of its own cannot see keys typed into other windows.
//
// One session for the life of the object, under a fixed session handle token. start()
// registers the application id where the portal keeps a registry of host programs, creates the
// session and asks for every shortcut in one BindShortcuts. The shortcuts also ride in
// CreateSession's "shortcuts" option, the only place Plasma 5.27's backend takes them from; where
// CreateSession's answer lists them all bound, BindShortcuts is left out (on that backend it opens
// System Settings, at every start). The
// desktop decides what is bound: triggerDescription() says what it bound, and a reply without
// shortcuts means it bound nothing. A session the desktop closes is opened again once.
// Activated signals of other sessions and of shortcuts we did not ask for are ignored, and so are
// the repeats of a key held down. Presses that arrive closer together than a person can press
// are one press, whatever times they carry, so a portal that floods us with Activated toggles
// the strip once, not once for each.
//
// Every call is asynchronous and nothing here blocks: until the portal answers the state is
// starting. Main thread only.
class GlobalShortcutsPortal final : public QObject {
    Q_OBJECT

  public:
    struct Shortcut {
        QString id;
        QString description;
        QString preferredTrigger;  // the portal's format, "CTRL+ALT+LOGO+q"
    };

    enum class State {
        starting,
        unavailable,  // no portal, or none offering GlobalShortcuts
        bound,        // the desktop bound at least one shortcut
        unbound,      // the desktop answered, and bound nothing (cancelled, or an empty list)
        failed,       // the portal failed, or closed the session a second time
    };

    using Now = std::function<std::chrono::steady_clock::time_point()>;

    // now: when a signal arrives; the monotonic clock but in tests.
    GlobalShortcutsPortal(QString applicationId, QDBusConnection bus,
                          Now now = std::chrono::steady_clock::now, QObject* parent = nullptr);

    void start(QList<Shortcut> shortcuts);

    [[nodiscard]] State state() const { return state_; }
    // The trigger the desktop bound to a shortcut, in its own words ("Ctrl+Alt+Meta+Q"); empty
    // when it bound none.
    [[nodiscard]] QString triggerDescription(const QString& id) const;
    // Whether the desktop can show its own settings for our shortcuts (interface version 2).
    [[nodiscard]] bool canConfigure() const;
    void configure(const QString& activationToken = {});

  Q_SIGNALS:
    // The state or a trigger changed.
    void changed();
    // A bound shortcut was pressed. The token, or else the press's time (the desktop's clock in
    // milliseconds: the X server's on KWin and Mutter, but a desktop may send 0), lets a window of
    // ours take the keyboard.
    void activated(const QString& id, const QString& activationToken, quint64 timestamp);

  private Q_SLOTS:
    void requestAnswered(const QDBusMessage& message);
    void activatedSignal(const QDBusMessage& message);
    void deactivatedSignal(const QDBusMessage& message);
    void shortcutsChanged(const QDBusMessage& message);
    void sessionClosed(const QDBusMessage& message);

  private:
    enum class Step { none, createSession, bindShortcuts };

    // Activated again within this many milliseconds of the last, with no Deactivated between: the
    // key is still held.
    static constexpr uint64_t kRepeatWindowMs = 1000;
    // Activated arriving within this of the last for the same shortcut continues its press.
    static constexpr auto kPressInterval = std::chrono::milliseconds(150);

    // Whether a signal is about our session.
    [[nodiscard]] bool isOurs(const QDBusMessage& message) const;

    void registerApplication();
    void readVersion();
    void createSession();
    void bindShortcuts();
    // Sends a call whose answer arrives as a Response signal on a request object.
    void request(Step step, const QString& method, const QVariantList& arguments,
                 QVariantMap options);
    void followRequest(const QString& path);
    void sessionCreated(const QVariantMap& results);
    void applyShortcuts(const QList<PortalShortcut>& bound);
    void setState(State state);
    [[nodiscard]] QVariant shortcutList() const;
    [[nodiscard]] QString objectPathFor(const QString& kind, const QString& token) const;

    QString applicationId_;
    QDBusConnection bus_;
    QList<Shortcut> shortcuts_;
    State state_ = State::starting;
    uint32_t version_ = 0;
    QString session_;
    QString requestPath_;
    Step pending_ = Step::none;
    int requests_ = 0;
    bool reopened_ = false;
    QMap<QString, QString> triggers_;
    // The shortcuts held down now, with the time of their last Activated.
    QMap<QString, uint64_t> held_;
    Now now_;
    // When the last Activated of each shortcut arrived.
    QMap<QString, std::chrono::steady_clock::time_point> arrived_;
};

}  // namespace glintdeck
