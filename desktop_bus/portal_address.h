#pragma once

#include <QString>

namespace glintdeck::portal {

// Where the desktop portal answers on the session bus: each of its interfaces lives there.
inline const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");

}  // namespace glintdeck::portal
