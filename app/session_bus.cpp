#include "app/session_bus.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

namespace glintdeck {

void keepSessionBusFromAutolaunching() {
    if (!qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty()) return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(QString::fromLocal8Bit(runtime) + "/bus")) return;
    // libdbus knows no transport by this name, so it reports an error instead of autolaunching.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

}  // namespace glintdeck
