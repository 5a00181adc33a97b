// glintdeck: the HUD itself. Runs for the whole session; the summon key (or launching the
// program again) pops up the strip.
#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_delegate.h"
#include "app/desktop_shortcuts.h"
#include "app/launch_options.h"
#include "app/qt_main_thread.h"
#include "app/session_bus.h"
#include "desktop_bus/appearance_source.h"
#include "desktop_bus/desktop_notifications.h"
#include "platform/linux/descriptor_limit.h"
#include "platform/linux/linux_sampler_factory.h"
#include "platform/linux/processor_count.h"
#include "platform/linux/session/desktop_session.h"
#include "platform/linux/session/posix_preferences_file.h"
#include "platform/linux/session/problem_report.h"
#include "platform/linux/session/runtime_folder.h"
#include "platform/linux/session/single_instance.h"
#include "platform/linux/session/termination_watcher.h"
#include "platform/linux/session/xdg_autostart_login_item.h"
#include "platform/linux/system_clock.h"
#include "samplers/thread_pool_executor.h"
#include "shell/hot_key_recorder_view.h"
#include "shell/window_activation.h"
#include "shell/x11/compositing_watcher.h"
#include "shell/x11/lost_display.h"
#include "shell/x11/user_input_time.h"
#include "shell/x11/x11_connection.h"
#include "shell/x11/x11_server_time.h"

using namespace glintdeck;

namespace {

// Ends the event loop whatever is on screen. QCoreApplication::quit() would first ask every window
// to close and give up at one that refuses, as the settings window does (it hides instead), so a
// SIGTERM or "Quit" with the settings window open would be ignored.
void quitProgram() { QCoreApplication::exit(0); }

SettingsServices settingsServices(std::shared_ptr<DesktopKeys> desktopKeys) {
    auto loginItem = std::make_shared<XdgAutostartLoginItem>(
        XdgAutostartLoginItem::runningProgram(), XdgAutostartLoginItem::defaultConfigHome());
    std::string loginItemProblem;
    if (LoginItem::Result moved = loginItem->migrateLegacyEntry(); !moved.ok) {
        loginItemProblem = "The autostart entry of earlier versions was not moved: " + moved.error;
        reportProblem(loginItemProblem);
    }
    if (LoginItem::Result updated = loginItem->addMissingTryExec(); !updated.ok) {
        loginItemProblem = "The autostart entry could not be updated: " + updated.error;
        reportProblem(loginItemProblem);
    }
    return {
        .loginItem = std::move(loginItem),
        .loginItemProblem = std::move(loginItemProblem),
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
        .desktopKeys = std::move(desktopKeys),
        .onQuit = quitProgram,
        .activate = activateWindow,
        .iconFile = QStringLiteral(":/glintdeck.svg"),
    };
}

// Answers --help and --version, or refuses an unknown option with status 2, before anything
// else runs: no display is opened and no running instance is asked to toggle.
std::optional<int> answerArguments(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const LaunchRequest request = parseLaunchArguments(arguments);
    std::string_view text;
    switch (request.action) {
        case LaunchRequest::Action::runHud:
            return std::nullopt;
        case LaunchRequest::Action::refuse:
            std::fprintf(stderr, "glintdeck: %s\n", request.error.c_str());
            return 2;
        case LaunchRequest::Action::help:
            text = hudHelpText();
            break;
        case LaunchRequest::Action::version:
            text = hudVersionText();
            break;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
        std::fflush(stdout) == 0) {
        return 0;
    }
    std::fprintf(stderr, "glintdeck: cannot write the output: %s\n", std::strerror(errno));
    return 1;
}

// GLINTDECK_ALERT_TIME_SCALE, a number above 0 and at most 1, shortens every alert time for the
// end-to-end test; anything else leaves them as they are.
double alertTimeScale() {
    const char* text = std::getenv("GLINTDECK_ALERT_TIME_SCALE");
    if (text == nullptr) return 1;
    // from_chars, not strtod: Qt has set the user's locale by now, whose decimal point may be a
    // comma.
    const std::string_view digits(text);
    double scale = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), scale);
    const bool whole = error == std::errc() && end == digits.data() + digits.size();
    return whole && scale > 0 && scale <= 1 ? scale : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::optional<int> answered = answerArguments(argc, argv)) return *answered;
    raiseDescriptorLimit();

    // Global key grabs, stacking and placement need X; on a Wayland session XWayland gives us
    // that, so the program never runs on Qt's native Wayland backend.
    qputenv("QT_QPA_PLATFORM", "xcb");
    keepSessionBusFromAutolaunching();

    const char* display = std::getenv("DISPLAY");
    SingleInstance::Claim claim;
    if (auto socket = SingleInstance::pathForCurrentUser(display != nullptr ? display : "")) {
        claim = SingleInstance::claim(*socket);
    } else {
        claim.problem = "neither $XDG_RUNTIME_DIR nor " + fallbackRuntimeFolder() +
                        " is a folder of this user's alone with room for the socket's name";
    }
    if (claim.forwarded) return 0;  // the running instance toggled its strip
    if (!claim.instance) {
        std::fprintf(stderr,
                     "glintdeck: %s; running, but launching glintdeck again will not toggle "
                     "this one\n",
                     claim.problem.c_str());
    }

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
    QApplication::setDesktopFileName(QString::fromLatin1(DesktopShortcuts::kApplicationId));
    QApplication::setQuitOnLastWindowClosed(false);
    // No application icon: Qt would render it at four sizes and send it with every window,
    // 87 KB for each strip on each summon, for panels that are never in a task bar. The
    // settings window carries it instead.
    leaveAtOnceWhenTheDisplayIsLost();
    // Before any window shows, so the first click on one is seen.
    const std::unique_ptr<UserInputTime> inputTime = UserInputTime::install();

    useStandardPreferences(PreferencesStore::Mode::readWrite);
    AppSettings& settings = AppSettings::shared();

    // Before any other portal call: the portal learns our application id from the first.
    const DesktopSession session = DesktopSession::fromEnvironment();
    std::shared_ptr<DesktopShortcuts> desktopShortcuts;
    if (session.kind == SessionKind::wayland) {
        desktopShortcuts = std::make_shared<DesktopShortcuts>(
            session, settings, QDBusConnection::sessionBus(), launchCommand(), &x11::serverTime);
        desktopShortcuts->start();
    }

    auto appearance = std::make_shared<AppearanceSource>();
    CompositingWatcher compositing;
    appearance->setCompositingActive(compositing.active());
    QObject::connect(&compositing, &CompositingWatcher::activeChanged, appearance.get(),
                     &AppearanceSource::setCompositingActive);
    settings.setReduceTransparencySource(appearance);
    appearance->start();

    DesktopNotifications notifications;
    notifications.start();

    ThreadPoolExecutor executor;
    auto clock = std::make_shared<SystemClock>();
    LinuxSamplerFactory samplers(executor, clock);

    {
        AppDelegate delegate(
            settings,
            AppEnvironment{
                .mainThread = mainThread,
                .samplers = samplers,
                .descriptors =
                    DescriptorEnvironment::fromCurrentLocale(onlineProcessorCount(), clock),
                .compositing = &compositing,
                .settingsServices = settingsServices(desktopShortcuts),
                .userInputTime =
                    [&inputTime] { return inputTime ? inputTime->last() : std::nullopt; },
                .desktopShortcuts = desktopShortcuts.get(),
                .session = session.kind,
                .catchDesktopClicks = session.kind == SessionKind::wayland &&
                                      (session.isDesktop("GNOME") || session.isDesktop("KDE")),
                .notifications = &notifications,
                .makeWatchSampler =
                    [&samplers](double interval, WatchSampler::OnSample onSample) {
                        return samplers.makeWatchSampler(interval, std::move(onSample));
                    },
                .alertTimeScale = alertTimeScale(),
                .setSampleDeliverySpacing =
                    [&executor](double seconds) { executor.setDeliverySpacing(seconds); },
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
