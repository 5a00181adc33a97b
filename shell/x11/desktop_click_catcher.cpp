#include "shell/x11/desktop_click_catcher.h"

#include <xcb/xcb.h>

#include <QBackingStore>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSurfaceFormat>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

// A bare window rather than a widget: a widget keeps a buffer of the screen's size for as long as
// it shows (8 MB for 1920 × 1080), this one only while drawing itself once.
class DesktopCover final : public QWindow {
  public:
    DesktopCover(QScreen* screen, std::function<void()> onClick) : onClick_(std::move(onClick)) {
        setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        QSurfaceFormat format;
        format.setAlphaBufferSize(8);  // a visual with alpha, so that transparent is possible
        setFormat(format);
        setTitle(QStringLiteral("Glintdeck Desktop Cover"));
        setScreen(screen);
        setGeometry(screen->geometry());
        create();
        // Qt writes the window type only from its flags, when they change: written after the
        // window exists, the desktop's type stays.
        if (xcb_connection_t* conn = x11::connection()) {
            const uint32_t desktop = x11::atom("_NET_WM_WINDOW_TYPE_DESKTOP");
            xcb_change_property(conn, XCB_PROP_MODE_REPLACE, static_cast<uint32_t>(winId()),
                                x11::atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &desktop);
        }
    }

  protected:
    void exposeEvent(QExposeEvent*) override {
        // Drawn once, transparent, through a buffer let go at once: a compositor takes a window in
        // (and gives it clicks) only once something was drawn in it.
        if (drawn_ || !isExposed()) return;
        drawn_ = true;
        QBackingStore store(this);
        store.resize(size());
        const QRect all(QPoint(), size());
        store.beginPaint(all);
        QPainter painter(store.paintDevice());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(all, Qt::transparent);
        painter.end();
        store.endPaint();
        store.flush(all);
    }
    void mousePressEvent(QMouseEvent*) override {
        QMetaObject::invokeMethod(
            this, [onClick = onClick_] { onClick(); }, Qt::QueuedConnection);
    }

  private:
    std::function<void()> onClick_;
    bool drawn_ = false;
};

}  // namespace

DesktopClickCatcher::DesktopClickCatcher(std::function<void()> onClick)
    : onClick_(std::move(onClick)) {}

DesktopClickCatcher::~DesktopClickCatcher() { uncover(); }

void DesktopClickCatcher::cover() {
    uncover();
    for (QScreen* screen : QGuiApplication::screens()) {
        auto* cover = new DesktopCover(screen, onClick_);
        cover->show();
        covers_.emplace_back(cover);
    }
}

void DesktopClickCatcher::uncover() {
    for (const QPointer<QWindow>& cover : covers_) {
        if (!cover) continue;
        cover->hide();
        // Later, not now: the click that uncovers comes through a task the cover holds.
        cover->deleteLater();
    }
    covers_.clear();
}

}  // namespace glintdeck
