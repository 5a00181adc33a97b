#include "shell/x11/compositing_watcher.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <cstdlib>
#include <memory>
#include <string>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

CompositingWatcher::CompositingWatcher(QObject* parent) : QObject(parent) {
    xcb_connection_t* conn = x11::connection();
    const uint32_t root = x11::rootWindow();
    if (conn == nullptr || root == 0) {
        return;
    }
    selection_ = x11::atom("_NET_WM_CM_S" + std::to_string(x11::screenNumber()));
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(conn, &xcb_xfixes_id);
    if (xfixes != nullptr && xfixes->present) {
        // XFixes must be told our version before use; Qt has done so on this connection, and a
        // second query with the same version is harmless.
        std::free(
            xcb_xfixes_query_version_reply(conn, xcb_xfixes_query_version(conn, 5, 0), nullptr));
        xfixesFirstEvent_ = xfixes->first_event;
        xcb_xfixes_select_selection_input(
            conn, root, selection_,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(conn, xcb_get_selection_owner(conn, selection_), nullptr),
        &std::free);
    active_ = owner && owner->owner != XCB_NONE;
}

// The selection stays watched: another watcher may share it, and events nobody filters cost
// nothing. The base class removes the filter.
CompositingWatcher::~CompositingWatcher() = default;

bool CompositingWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || xfixesFirstEvent_ == 0) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != xfixesFirstEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
        return false;
    }
    const auto* notify = static_cast<const xcb_xfixes_selection_notify_event_t*>(message);
    // Qt watches the same selection from a window of its own; only our root selection counts.
    if (notify->selection == selection_ && notify->window == x11::rootWindow()) {
        setActive(notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER &&
                  notify->owner != XCB_NONE);
    }
    return false;
}

void CompositingWatcher::setActive(bool active) {
    if (active != active_) {
        active_ = active;
        Q_EMIT activeChanged(active);
    }
}

}  // namespace glintdeck
