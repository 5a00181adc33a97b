#include "shell/screen_change_watcher.h"

#include <QGuiApplication>
#include <QScreen>

namespace glintdeck {

ScreenChangeWatcher::ScreenChangeWatcher(std::function<void()> onChange)
    : onChange_(std::move(onChange)) {
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    connect(&settle_, &QTimer::timeout, this, [this] { onChange_(); });
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    auto* application = qGuiApp;
    connect(application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        changed();
    });
    connect(application, &QGuiApplication::screenRemoved, this, [this] { changed(); });
    connect(application, &QGuiApplication::primaryScreenChanged, this, [this] { changed(); });
}

void ScreenChangeWatcher::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { changed(); });
    connect(screen, &QScreen::availableGeometryChanged, this, [this] { changed(); });
}

}  // namespace glintdeck
