#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>

#include "desktop_bus/global_shortcuts_portal.h"

namespace glintdeck {

// The desktop portal on a test's private bus. Its GlobalShortcuts interface answers the way the
// real frontend and its backends do: CreateSession and BindShortcuts reply with a request
// object, then announce the result on it with Response; the session handle comes as a string;
// Activated, ShortcutsChanged and the session's Closed are sent on demand. What the client
// asked is recorded. Its Settings interface reads the appearance group's settings as every
// portal version does (a variant inside a variant) and announces their changes.
class FakeDesktopPortal final : public QDBusVirtualObject {
  public:
    struct Behaviour {
        bool globalShortcuts = true;  // false: a portal without the interface
        bool registry = true;         // false: one older than the host registry (< 1.19)
        uint version = 2;
        uint createResponse = 0;  // 0 success, 1 cancelled, 2 failed
        uint bindResponse = 0;
        bool emptyBindReply = false;  // success, with an empty list: nothing bound
        // Plasma 5.27: binds the shortcuts of CreateSession's option and lists them in its
        // answer.
        bool bindsAtCreateSession = false;
        // CreateSession's answer waits for answerCreateSession(), as a slow first start does.
        bool holdCreateSession = false;
    };

    FakeDesktopPortal(QDBusConnection bus, Behaviour behaviour);
    ~FakeDesktopPortal() override;
    FakeDesktopPortal(const FakeDesktopPortal&) = delete;
    FakeDesktopPortal& operator=(const FakeDesktopPortal&) = delete;

    // The desktop's own triggers: each bound shortcut is described as "bound " + its preferred
    // trigger.
    [[nodiscard]] static QString describe(const QString& preferredTrigger);

    // A press (Activated) at the given time in milliseconds, and its release (Deactivated).
    void activate(const QString& session, const QString& id, const QString& activationToken,
                  uint64_t timestamp = 1234);
    void deactivate(const QString& id, uint64_t timestamp);
    void changeShortcuts(const QList<PortalShortcut>& shortcuts);
    void closeSession();
    void answerCreateSession();
    // Sets one of org.freedesktop.appearance's settings and announces it with SettingChanged.
    void changeSetting(const QString& key, uint value);

    // What the client did: the methods called, in order, and their arguments.
    QStringList calls;
    QString registeredId;
    QList<PortalShortcut> sessionShortcuts;  // CreateSession's "shortcuts" option
    QList<PortalShortcut> boundShortcuts;
    QString session;                     // the handle of the session last created
    std::map<QString, uint> appearance;  // what Read answers for org.freedesktop.appearance

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    void answer(const QDBusMessage& message, const QString& kind, uint response,
                const QVariantMap& results);
    [[nodiscard]] QVariant boundList(const QList<PortalShortcut>& asked) const;

    QDBusConnection bus_;
    Behaviour behaviour_;
    std::function<void()> heldAnswer_;
};

}  // namespace glintdeck
