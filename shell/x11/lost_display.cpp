#include "shell/x11/lost_display.h"

#include <xcb/xcb.h>

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "shell/x11/x11_connection.h"

namespace glintdeck {
namespace {

QtMessageHandler previousHandler = nullptr;

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    previousHandler(type, context, message);
    // The connection is asked only on warnings; Qt's is the last one before its exit().
    if (type != QtWarningMsg) return;
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr || xcb_connection_has_error(connection) == 0) return;
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

void leaveAtOnceWhenTheDisplayIsLost() {
    if (previousHandler == nullptr) previousHandler = qInstallMessageHandler(handleMessage);
}

}  // namespace glintdeck
