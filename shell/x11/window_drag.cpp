#include "shell/x11/window_drag.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <optional>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

struct PointerState {
    QPoint position;  // device pixels on the root window
    bool leftDown;
};

std::optional<PointerState> queryPointer() {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        return std::nullopt;
    }
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(conn, xcb_query_pointer(conn, x11::rootWindow()), nullptr),
        &std::free);
    if (!reply) {
        return std::nullopt;
    }
    return PointerState{{reply->root_x, reply->root_y},
                        (reply->mask & XCB_KEY_BUT_MASK_BUTTON_1) != 0};
}

// True while another client (the window manager finishing its move) holds the pointer.
bool pointerHeldElsewhere() {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        return false;
    }
    std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> reply(
        xcb_grab_pointer_reply(
            conn,
            xcb_grab_pointer(conn, 0, x11::rootWindow(), 0, XCB_GRAB_MODE_ASYNC,
                             XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
            nullptr),
        &std::free);
    if (!reply) {
        return false;
    }
    if (reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(conn, XCB_CURRENT_TIME);
        xcb_flush(conn);
    }
    return reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

// Where the server has the window now, in Qt's (device-independent) global coordinates.
QPoint placedTopLeft(const QWidget& window) {
    xcb_connection_t* conn = x11::connection();
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
        xcb_translate_coordinates_reply(
            conn,
            xcb_translate_coordinates(conn, static_cast<uint32_t>(window.winId()),
                                      x11::rootWindow(), 0, 0),
            nullptr),
        &std::free);
    if (!reply) {
        return window.pos();
    }
    return QPoint(reply->dst_x, reply->dst_y) / window.devicePixelRatioF();
}

}  // namespace

WindowDrag::WindowDrag(QObject* parent) : QObject(parent) {
    // About one check per frame, and only while a drag runs.
    timer_.setInterval(16);
    connect(&timer_, &QTimer::timeout, this, &WindowDrag::follow);
}

bool WindowDrag::start(QWidget& window, Finished onFinished) {
    const std::optional<PointerState> pointer = queryPointer();
    if (active() || !pointer || !pointer->leftDown || window.windowHandle() == nullptr) {
        return false;
    }
    window_ = &window;
    onFinished_ = std::move(onFinished);
    pointerStart_ = pointer->position;
    windowStart_ = window.pos();
    byWindowManager_ = window.windowHandle()->startSystemMove();
    ticksAfterRelease_ = 0;
    timer_.start();
    return true;
}

void WindowDrag::follow() {
    const std::optional<PointerState> pointer = queryPointer();
    if (window_ && pointer && pointer->leftDown) {
        if (!byWindowManager_) {
            const qreal scale = window_->devicePixelRatioF();
            window_->move(windowStart_ + (pointer->position - pointerStart_) / scale);
        }
        return;
    }
    // A manager that never lets go (it missed the release) is not waited for beyond a second.
    constexpr int maxTicksAfterRelease = 60;
    if (window_ && byWindowManager_ && pointerHeldElsewhere() &&
        ++ticksAfterRelease_ < maxTicksAfterRelease) {
        return;
    }
    timer_.stop();
    Finished finished = std::move(onFinished_);
    onFinished_ = nullptr;
    if (!window_) {
        return;  // the window was closed during the drag: there is no place to report
    }
    const QPoint topLeft = byWindowManager_ ? placedTopLeft(*window_) : window_->pos();
    window_ = nullptr;
    if (finished) {
        finished(topLeft);
    }
}

}  // namespace glintdeck
