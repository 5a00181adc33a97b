#include "app/app_delegate.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>
#include <utility>

#include "app/desktop_shortcuts.h"
#include "desktop_bus/desktop_notifications.h"
#include "settings/key_text.h"
#include "shell/qt_screens.h"
#include "shell/x11/compositing_watcher.h"
#include "views/first_run_hint_view.h"
#include "views/stat_detail_view.h"
#include "views/stats_strip_view.h"

namespace glintdeck {

namespace {

// Escape by its position on the stored layout.
constexpr HotKeyBinding kDismissBinding{53, 0};
// How long after launch the first-run hint follows the strip.
constexpr int kHintDelayMs = 200;
// While the strip is hidden the samples reach the main thread together every 5 s, not at every
// interval: the histories and the alerts (which hold for 30 s or more) still get every one, and
// a wakeup of the main thread costs more than the samples it takes in. Scaled with the alerts.
constexpr double kHiddenSampleDeliverySeconds = 5;

}  // namespace

AppDelegate::AppDelegate(AppSettings& settings, AppEnvironment environment)
    : settings_(settings),
      environment_(std::move(environment)),
      store_(environment_.mainThread, environment_.samplers, settings),
      panel_(environment_.session),
      detailPanel_(environment_.session),
      hintPanel_(environment_.session),
      settingsWindow_(settings, withOwnServices(environment_.settingsServices)),
      feed_(store_, settings, environment_.descriptors) {
    if (environment_.compositing != nullptr) {
        feed_.setOpaqueBackground(!environment_.compositing->active());
        connect(environment_.compositing, &CompositingWatcher::activeChanged, this,
                [this](bool active) { feed_.setOpaqueBackground(!active); });
    }
}

SettingsServices AppDelegate::withOwnServices(SettingsServices services) {
    services.summonHotKeyRefusal = [this] { return hotKey_.refusal(); };
    services.onOpenSettings = [this] { openSettingsFromMenu(); };
    services.waylandSession = waylandSession();
    return services;
}

AppDelegate::~AppDelegate() {
    applicationWillTerminate();
    // The settings outlive us; nothing of ours may be called through them afterwards.
    settings_.onHotKeyChanged = nullptr;
    settings_.onIntervalChanged = nullptr;
}

void AppDelegate::applicationDidFinishLaunching() {
    launched_ = true;
    settings_.onHotKeyChanged = [this] { registerSummonHotKey(); };
    settings_.onIntervalChanged = [this] {
        store_.stop();
        store_.start();
    };
    store_.start();
    if (environment_.notifications != nullptr && environment_.makeWatchSampler) {
        const DescriptorEnvironment& texts = environment_.descriptors;
        alerts_ = std::make_unique<MachineAlerts>(
            store_, settings_, environment_.mainThread, texts.clock,
            MachineWatches(static_cast<int>(texts.processorCount), texts.decimalSeparator,
                           environment_.alertTimeScale),
            environment_.makeWatchSampler, [this](const Alert& alert) { sendAlert(alert); });
        alerts_->start();
    }
    followDesktopShortcuts();
    registerSummonHotKey();
    // XWayland sees no click on a native window, and judges clicks on its own by a pointer
    // position that lags behind the compositor's: in a Wayland session the strip has the
    // keyboard instead, and the keyboard moving elsewhere is what a click elsewhere does.
    if (waylandSession()) {
        focusAwayMonitor_ = std::make_unique<FocusAwayMonitor>([this] { hideUnlessPinned(); },
                                                               [this] { panel_.hideStrip(); });
        if (environment_.catchDesktopClicks) {
            desktopClicks_ = std::make_unique<DesktopClickCatcher>([this] { hideUnlessPinned(); });
        }
    } else {
        clickAwayMonitor_ = ClickAwayMonitor::install([this] { hideUnlessPinned(); });
    }
    panel_.setOnVisibilityChanged([this](bool visible) { visibilityChanged(visible); });
    settingsWindow_.setOnReleased([this] { idleMemoryRelease_.schedule(); });
    panel_.setContextMenuProvider([this] { return contextMenu(); });
    panel_.setOnPanelMoved([this](Point point) { panelMoved(point); });
    panel_.setOnFrameChanged([this] { companionsFollowStrip(); });
    // The main menu is the settings window's menu bar, built with the window.
    toggleStrip();
    if (!settings_.hasSeenHint()) {
        QTimer::singleShot(kHintDelayMs, this, [this] { showHintIfFirstRun(); });
    }
}

void AppDelegate::applicationWillTerminate() {
    if (!launched_) return;
    launched_ = false;
    desktopShortcutsSubscription_.reset();
    if (environment_.desktopShortcuts != nullptr) {
        environment_.desktopShortcuts->onSummon = nullptr;
        environment_.desktopShortcuts->onPinToggle = nullptr;
    }
    if (alerts_) alerts_->stop();
    store_.stop();
    hotKey_.unregister();
    dismissHotKey_.unregister();
    settingsHotKey_.unregister();
    pinToggleHotKey_.unregister();
    clickAwayMonitor_.reset();
    focusAwayMonitor_.reset();
    desktopClicks_.reset();
}

void AppDelegate::setSampleDeliverySpacing(double seconds) {
    if (environment_.setSampleDeliverySpacing) environment_.setSampleDeliverySpacing(seconds);
}

bool AppDelegate::stripShown() const {
    return panel_.panel() != nullptr && panel_.panel()->isVisible();
}

void AppDelegate::hideUnlessPinned() {
    if (stripShown() && !settings_.isPinned()) panel_.hideStrip();
}

void AppDelegate::updateDesktopCover(bool stripUp) {
    if (!desktopClicks_) return;
    if (stripUp && !settings_.isPinned()) {
        desktopClicks_->cover();
    } else {
        desktopClicks_->uncover();
    }
}

void AppDelegate::registerSummonHotKey() {
    if (!grabsOwnKeys()) {
        hotKey_.unregister();
        return;
    }
    hotKey_.registerBinding(settings_.hotKey(), [this] {
        toggleStrip({.userTimestamp = HotKeyService::lastPressTime()});
    });
}

void AppDelegate::registerPinHotKey() {
    if (!grabsOwnKeys()) {
        pinToggleHotKey_.unregister();
        return;
    }
    pinToggleHotKey_.registerBinding(settings_.pinHotKey(), [this] { togglePin(); });
}

bool AppDelegate::grabsOwnKeys() const {
    return environment_.desktopShortcuts == nullptr ||
           !environment_.desktopShortcuts->portalOwnsKeys();
}

void AppDelegate::followDesktopShortcuts() {
    DesktopShortcuts* desktop = environment_.desktopShortcuts;
    if (desktop == nullptr) return;
    desktop->onSummon = [this](const SummonRequest& request) { toggleStrip(request); };
    // As with the grabbed key: keeping the strip on screen means something only while it shows.
    desktop->onPinToggle = [this] {
        if (stripShown()) togglePin();
    };
    // Where the portal turns out to be missing, or fails, the grabs stand in for it.
    desktopShortcutsSubscription_ = desktop->subscribe([this] {
        registerSummonHotKey();
        if (stripShown()) registerPinHotKey();
        if (std::exchange(hintAwaitsDesktop_, false)) showHintIfFirstRun();
    });
}

void AppDelegate::toggleStrip(const SummonRequest& request) {
    if (stripShown()) {
        panel_.hideStrip();
        return;
    }
    setSampleDeliverySpacing(0);  // what waits is posted ahead of the strip's first paint
    std::unique_ptr<StatsStripView> strip = feed_.makeStrip();
    strip->setOnOpenSettings([this] { hideStripAndShowSettings(userInputTime()); });
    strip->setOnTileTap([this](StatKind kind) { tileTapped(kind); });
    strip->setOnDrag(
        [this](QPointF translation, bool ended) { panel_.handleDrag(translation, ended); });
    strip->setAvailableWidth(panel_.availableWidth(settings_.anchor(), settings_.customPosition()));
    stripView_ = strip.get();
    updatePanelShapes();
    // Before the strip: by the time it has the keyboard, the desktop is ready for the next click.
    updateDesktopCover(true);
    panel_.showStrip(settings_.anchor(), settings_.customPosition(), std::move(strip), request);
}

void AppDelegate::visibilityChanged(bool visible) {
    store_.setPanelVisible(visible);
    if (visible) {
        // In a Wayland session Esc comes through the strip, which has the keyboard.
        if (!waylandSession()) {
            dismissHotKey_.registerBinding(kDismissBinding, [this] { panel_.hideStrip(); });
        }
        settingsHotKey_.registerBinding(HotKeyBinding::openSettings(), [this] {
            hideStripAndShowSettings(HotKeyService::lastPressTime());
        });
        registerPinHotKey();
        return;
    }
    updateDesktopCover(false);
    setSampleDeliverySpacing(kHiddenSampleDeliverySeconds * environment_.alertTimeScale);
    idleMemoryRelease_.schedule();
    dismissHotKey_.unregister();
    settingsHotKey_.unregister();
    pinToggleHotKey_.unregister();
    if (settings_.isPinned()) settings_.setIsPinned(false);
    detailPanel_.hideCard();
    hintPanel_.hideHint();
}

void AppDelegate::tileTapped(StatKind kind) {
    std::optional<Rect> stripFrame = panel_.panelFrame();
    if (!stripFrame) return;
    if (detailPanel_.openKind() == kind) {
        detailPanel_.hideCard();
        return;
    }
    updatePanelShapes();
    detailPanel_.showCard(kind, feed_.makeCard(kind), *stripFrame, pointerLocation().x);
}

void AppDelegate::sendAlert(const Alert& alert) {
    // The service may answer after we are gone.
    QPointer<AppDelegate> self(this);
    environment_.notifications->notify(QString::fromStdString(alert.title),
                                       QString::fromStdString(alert.body),
                                       [self, kind = alert.card](const QString& token) {
                                           if (self) self->showAlertedCard(kind, token);
                                       });
}

void AppDelegate::showAlertedCard(StatKind kind, const QString& activationToken) {
    if (!stripShown()) toggleStrip({.activationToken = activationToken.toStdString()});
    if (detailPanel_.openKind() != kind) tileTapped(kind);
}

void AppDelegate::followScreens() {
    if (!stripShown()) return;
    updateDesktopCover(true);
    panel_.followScreens(settings_.anchor(), settings_.customPosition(), [this](double width) {
        if (stripView_) stripView_->setAvailableWidth(width);
    });
    companionsFollowStrip();
}

void AppDelegate::companionsFollowStrip() {
    if (std::optional<Rect> frame = panel_.panelFrame()) {
        detailPanel_.followStrip(*frame);
        hintPanel_.followStrip(*frame);
    }
}

void AppDelegate::panelMoved(Point point) {
    if (settings_.anchor() != PanelAnchor::cursor) settings_.setCustomPosition(point);
}

void AppDelegate::hideStripAndShowSettings(std::optional<uint32_t> userTimestamp) {
    panel_.hideStrip();
    settingsWindow_.show(userTimestamp);
}

void AppDelegate::showHintIfFirstRun() {
    std::optional<Rect> stripFrame = panel_.panelFrame();
    if (!stripShown() || !stripFrame) return;
    // In a Wayland session the hint names the key the desktop bound, or says how to bind one:
    // it waits for the desktop's answer (a first start of the portal takes a quarter second).
    DesktopKeys::Status desktop;
    if (DesktopShortcuts* shortcuts = environment_.desktopShortcuts) {
        if (!shortcuts->answered()) {
            hintAwaitsDesktop_ = true;
            return;
        }
        desktop = shortcuts->status();
        if (desktop.portal && desktop.summonTrigger.isEmpty()) {
            desktop.instruction = QStringLiteral(
                "Your desktop bound no key to Glintdeck: choose one in its shortcut settings.");
        }
    }
    updatePanelShapes();
    std::unique_ptr<FirstRunHintView> hint = feed_.makeHint(desktop.summonTrigger);
    hint->setInstruction(desktop.instruction);
    hintPanel_.showHint(std::move(hint), *stripFrame);
    settings_.setHasSeenHint(true);
}

void AppDelegate::updatePanelShapes() {
    // Panels take the radius when they are created; a theme change reaches the next one.
    const double radius = settings_.theme().metrics.cornerRadius;
    panel_.setPanelShape(environment_.compositing, radius);
    detailPanel_.setPanelShape(environment_.compositing, radius);
    hintPanel_.setPanelShape(environment_.compositing, radius);
}

std::unique_ptr<QMenu> AppDelegate::contextMenu() {
    auto menu = std::make_unique<QMenu>();
    QAction* pin = menu->addAction(QStringLiteral("Keep on Screen"), this, &AppDelegate::togglePin);
    pin->setCheckable(true);
    pin->setChecked(settings_.isPinned());
    menu->addSeparator();
    QAction* reset =
        menu->addAction(QStringLiteral("Reset Position"), this, &AppDelegate::resetPosition);
    reset->setEnabled(settings_.customPosition().has_value());
    // The key that opens the window from the strip is the global one, not an in-menu shortcut.
    menu->addAction(QStringLiteral("Settings…\t%1")
                        .arg(QString::fromStdString(keyText(HotKeyBinding::openSettings()))),
                    this, &AppDelegate::openSettingsFromMenu);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Quit Glintdeck"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                    &AppDelegate::quitFromMenu);
    return menu;
}

void AppDelegate::togglePin() {
    settings_.setIsPinned(!settings_.isPinned());
    updateDesktopCover(stripShown());
}

void AppDelegate::resetPosition() {
    settings_.setCustomPosition(std::nullopt);
    std::optional<Rect> frame = panel_.panelFrame();
    if (!frame) return;
    panel_.movePanel(
        panel_.origin(settings_.anchor(), std::nullopt, Size{frame->width, frame->height}));
}

void AppDelegate::openSettingsFromMenu() { hideStripAndShowSettings(userInputTime()); }

std::optional<uint32_t> AppDelegate::userInputTime() const {
    return environment_.userInputTime ? environment_.userInputTime() : std::nullopt;
}

void AppDelegate::quitFromMenu() {
    // Not quit(): that gives up when a window refuses to close, as the settings window does.
    QCoreApplication::exit(0);
}

void AppDelegate::setAppearance(Appearance appearance) {
    feed_.setAppearance(appearance);
    settingsWindow_.setAppearance(appearance);
}

}  // namespace glintdeck
