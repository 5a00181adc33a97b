#include "shell/focus_away_monitor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "shell/panel_host.h"

namespace glintdeck {

FocusAwayMonitor::FocusAwayMonitor(Handler onFocusLeft, Handler onEscape)
    : onFocusLeft_(std::move(onFocusLeft)), onEscape_(std::move(onEscape)) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &FocusAwayMonitor::focusWindowChanged);
    qApp->installEventFilter(this);
}

void FocusAwayMonitor::focusWindowChanged(QWindow* window) {
    // Qt reports no focus window only once none of ours has it, after a moment in which the
    // keyboard may still arrive at another of ours (opening a menu keeps it, in the menu's grab).
    if (window != nullptr) {
        return;
    }
    // A menu of ours left open would float on alone, holding its grab.
    if (QWidget* menu = QApplication::activePopupWidget()) {
        menu->close();
    }
    post(onFocusLeft_);
}

bool FocusAwayMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) {
        return false;
    }
    // The settings window and menus keep their own Esc.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || dynamic_cast<PanelHost*>(widget->window()) == nullptr) {
        return false;
    }
    post(onEscape_);
    return true;  // handled: no parent widget sees it again
}

void FocusAwayMonitor::post(const Handler& handler) {
    // With the monitor as context, a task still queued when it is destroyed never runs.
    QMetaObject::invokeMethod(
        this,
        [handler] {
            if (handler) {
                handler();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace glintdeck
