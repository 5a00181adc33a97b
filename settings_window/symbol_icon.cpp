#include "settings_window/symbol_icon.h"

namespace glintdeck {

QIcon symbolIcon(std::string_view, const QColor&, const QColor&) { return {}; }

}  // namespace glintdeck
