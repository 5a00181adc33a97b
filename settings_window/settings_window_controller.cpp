#include "settings_window/settings_window_controller.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "settings/app_settings.h"
#include "settings_window/main_menu.h"
#include "settings_window/settings_palette.h"
#include "settings_window/settings_view.h"

namespace glintdeck {
namespace {

constexpr QSize kContentSize(720, 480);
constexpr QSize kMinimumContentSize(660, 440);

}  // namespace

SettingsWindow::SettingsWindow(AppSettings& settings, const SettingsServices& services)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint) {
    setWindowTitle(QStringLiteral("Glintdeck Settings"));
    if (!services.iconFile.isEmpty()) setWindowIcon(QIcon(services.iconFile));
    setObjectName(QStringLiteral("settingsWindow"));
    view_ = new SettingsView(settings, services, this);
    view_->setMinimumSize(kMinimumContentSize);
    setCentralWidget(view_);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    // Refusing the close and hiding instead keeps Qt from counting it as the last window closed,
    // which would quit the program; the owner lets the window go afterwards.
    event->ignore();
    hide();
    if (onClosed_) onClosed_();
}

SettingsWindowController::SettingsWindowController(AppSettings& settings, SettingsServices services)
    : settings_(settings), services_(std::move(services)) {}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::build() {
    window_ = std::make_unique<SettingsWindow>(settings_, services_);
    window_->view()->restore(lastViewState_);
    window_->setOnClosed([this] {
        // Later, not now: the close may come from inside one of the window's own handlers (the
        // menu's Close). The timer belongs to the window, so it dies with it.
        QTimer::singleShot(0, window_.get(), [this] { releaseClosedWindow(); });
    });
    installMainMenu(*window_, {.openSettings =
                                   [this] {
                                       if (services_.onOpenSettings) {
                                           services_.onOpenSettings();
                                       } else {
                                           show();
                                       }
                                   },
                               .quit =
                                   [this] {
                                       if (services_.onQuit) {
                                           services_.onQuit();
                                       } else {
                                           QCoreApplication::quit();
                                       }
                                   }});
    if (appearance_) window_->setPalette(settingsPalette(*appearance_, QApplication::palette()));
    if (!lastGeometry_.isEmpty() && window_->restoreGeometry(lastGeometry_)) return;
    // The content, not the frame, is 720 × 480; the menu bar comes on top.
    int menuHeight = window_->menuBar()->sizeHint().height();
    window_->resize(kContentSize + QSize(0, menuHeight));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window_->size());
        frame.moveCenter(screen->availableGeometry().center());
        window_->move(frame.topLeft());
    }
}

void SettingsWindowController::show(std::optional<uint32_t> userTimestamp) {
    if (!window_) build();
    if (window_->isMinimized()) {
        window_->showNormal();
    } else {
        window_->show();
    }
    if (services_.activate) {
        services_.activate(*window_, userTimestamp);
    } else {
        window_->raise();
        window_->activateWindow();
    }
}

void SettingsWindowController::releaseClosedWindow() {
    // Shown again before this ran: the window stays.
    if (!window_ || window_->isVisible()) return;
    lastGeometry_ = window_->saveGeometry();
    lastViewState_ = window_->view()->viewState();
    window_.reset();
    if (onReleased_) onReleased_();
}

void SettingsWindowController::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    if (window_) window_->setPalette(settingsPalette(appearance, QApplication::palette()));
}

}  // namespace glintdeck
