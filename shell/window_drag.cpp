#include "shell/window_drag.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <optional>

#include "shell/x11_connection.h"

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
    timer_.stop();
    window_ = nullptr;
    if (Finished finished = std::move(onFinished_)) {
        finished();
    }
}

}  // namespace glintdeck
