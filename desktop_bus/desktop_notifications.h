#pragma once

#include <QDBusConnection>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

namespace glintdeck {

// The desktop's notification service (org.freedesktop.Notifications): one notification per call
// with a "Show" action, and what the user picked on it. start() asks the service what it can do;
// without a service (or without an answer in time) nothing is ever sent and one line says so.
// Where the service reads markup in bodies, the body is escaped: it names processes, and a
// process's name is text, never markup. Only the owner of the service's name is heard, so no
// other program on the bus can fake a click on "Show". Every call is asynchronous with a
// timeout: a slow or missing service never holds up the main thread. Main thread only.
class DesktopNotifications final : public QObject {
    Q_OBJECT

  public:
    enum class State { starting, available, unavailable };
    // A press's activation token (the desktop's, on servers that send one) and nothing else.
    using OnShow = std::function<void(const QString& activationToken)>;
    using Log = std::function<void(const QString& line)>;

    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus(), Log log = {},
                                  QObject* parent = nullptr);

    void start();
    [[nodiscard]] State state() const { return state_; }

    // Sends a notification; onShow runs when the user picks "Show" or clicks the notification.
    void notify(const QString& title, const QString& body, OnShow onShow);

  private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void activationToken(uint id, const QString& token);
    void notificationClosed(uint id, uint reason);

  private:
    QDBusConnection bus_;
    Log log_;
    State state_ = State::starting;
    bool bodyMarkup_ = false;
    // The notifications on screen, by the id the service gave them.
    QMap<uint, OnShow> shown_;
    QMap<uint, QString> tokens_;
};

}  // namespace glintdeck
