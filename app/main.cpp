// glintdeck: the HUD itself. Runs for the whole session; the summon key (or launching the
// program again) pops up the strip.
#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/app_delegate.h"
#include "app/qt_main_thread.h"
#include "platform/linux/desktop_session.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/login_item.h"
#include "platform/linux/posix_preferences_file.h"
#include "platform/linux/processor_count.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/system_log.h"
#include "platform/linux/termination_watcher.h"
#include "samplers/thread_pool_executor.h"
#include "shell/compositing_watcher.h"
#include "shell/hot_key_recorder_view.h"
#include "shell/lost_display.h"
#include "shell/window_activation.h"
#include "shell/x11_connection.h"
#include "views/appearance_source.h"
#include "views/session_bus.h"

using namespace glintdeck;

namespace {

// Ends the event loop whatever is on screen. QCoreApplication::quit() would first ask every window
// to close and give up at one that refuses, as the settings window does (it hides instead), so a
// SIGTERM or "Quit" with the settings window open would be ignored.
void quitProgram() { QCoreApplication::exit(0); }

SettingsServices settingsServices() {
    return {
        .loginItem = std::make_shared<XdgAutostartLoginItem>(
            XdgAutostartLoginItem::runningProgram(), XdgAutostartLoginItem::defaultConfigHome()),
        .log = writeSystemLog,
        .makeHotKeyRecorder = [](HotKeyBinding binding,
                                 std::function<void(HotKeyBinding)> onRecorded,
                                 QWidget* parent) -> QWidget* {
            auto* recorder = new HotKeyRecorderView(binding, parent);
            QObject::connect(recorder, &HotKeyRecorderView::bindingChanged, recorder,
                             [onRecorded = std::move(onRecorded)](HotKeyBinding recorded) {
                                 onRecorded(recorded);
                             });
            return recorder;
        },
        .onQuit = quitProgram,
        .activate = activateWindow,
        .icon = QIcon(QStringLiteral(":/glintdeck.svg")),
    };
}

}  // namespace

int main(int argc, char** argv) {
    // Global key grabs, stacking and placement need X; on a Wayland session XWayland gives us
    // that, so the program never runs on Qt's native Wayland backend.
    qputenv("QT_QPA_PLATFORM", "xcb");
    keepSessionBusFromAutolaunching();

    const char* display = std::getenv("DISPLAY");
    SingleInstance::Claim claim = SingleInstance::claim(
        SingleInstance::nameForCurrentUser(display != nullptr ? display : ""));
    if (claim.forwarded) return 0;  // the running instance toggled its strip

    if (!x11::displayReachable()) {
        std::fprintf(stderr,
                     "glintdeck: cannot open the X display %s; run it in a graphical "
                     "session (glintdeck-stats shows the same stats in a terminal)\n",
                     display != nullptr && *display != '\0' ? display : "(DISPLAY is not set)");
        return 1;
    }

    QtMainThread mainThread;
    // Before any other thread exists, so that none of them takes the signals.
    TerminationWatcher terminationWatcher(mainThread, quitProgram);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glintdeck"));
    // No display name: Qt would append it to every window title ("Glintdeck Settings —
    // Glintdeck"), and tools find our windows by their exact titles.
    QApplication::setDesktopFileName(QStringLiteral("glintdeck"));
    QApplication::setQuitOnLastWindowClosed(false);
    // No application icon: Qt would render it at four sizes and send it with every window,
    // 87 KB for each strip on each summon, for panels that are never in a task bar. The
    // settings window carries it instead.
    leaveAtOnceWhenTheDisplayIsLost();

    useStandardPreferences(PreferencesStore::Mode::readWrite);
    AppSettings& settings = AppSettings::shared();

    auto appearance = std::make_shared<AppearanceSource>();
    CompositingWatcher compositing;
    appearance->setCompositingActive(compositing.active());
    QObject::connect(&compositing, &CompositingWatcher::activeChanged, appearance.get(),
                     &AppearanceSource::setCompositingActive);
    settings.setReduceTransparencySource(appearance);
    appearance->start();

    ThreadPoolExecutor executor;
    auto clock = std::make_shared<SystemClock>();
    LinuxSamplerFactory samplers(executor, clock);

    {
        AppDelegate delegate(settings, AppEnvironment{
                                           .mainThread = mainThread,
                                           .samplers = samplers,
                                           .descriptors = DescriptorEnvironment::fromCurrentLocale(
                                               onlineProcessorCount(), clock),
                                           .compositing = &compositing,
                                           .settingsServices = settingsServices(),
                                           .session = DesktopSession::fromEnvironment().wayland
                                                          ? SessionKind::wayland
                                                          : SessionKind::x11,
                                       });
        delegate.setAppearance(appearance->appearance());
        QObject::connect(appearance.get(), &AppearanceSource::appearanceChanged, &delegate,
                         [&delegate](Appearance look) { delegate.setAppearance(look); });

        std::unique_ptr<QSocketNotifier> toggleRequests;
        if (claim.instance) {
            toggleRequests =
                std::make_unique<QSocketNotifier>(claim.instance->fd(), QSocketNotifier::Read);
            QObject::connect(toggleRequests.get(), &QSocketNotifier::activated, &delegate,
                             [&delegate, &claim, &terminationWatcher, &toggleRequests] {
                                 // About to quit: a launch now must not count on us but wait
                                 // and take over once the socket closes.
                                 if (terminationWatcher.requested()) {
                                     toggleRequests->setEnabled(false);
                                     return;
                                 }
                                 for (int n = claim.instance->takeToggleRequests(); n > 0; --n) {
                                     delegate.toggleStrip();
                                 }
                             });
        }

        delegate.applicationDidFinishLaunching();
        QApplication::exec();
        delegate.applicationWillTerminate();
        // Only now, with every grab released, may a new launch take over.
        toggleRequests.reset();
        claim.instance.reset();
    }
    executor.shutdown();
    settings.setReduceTransparencySource(nullptr);
    return 0;
}
