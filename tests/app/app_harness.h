#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/app_delegate.h"
#include "core/task_queue_main_thread.h"
#include "settings/preferences_store.h"
#include "tests/support/fake_sampler_factory.h"
#include "tests/support/manual_clock.h"
#include "tests/support/private_bus.h"
#include "tests/support/run_until.h"

namespace glintdeck {

// The delegate over fake samplers and settings in memory, launched as main() launches it.
struct AppHarness {
    AppEnvironment environment() {
        return {.mainThread = mainThread,
                .samplers = samplers,
                .descriptors = {.clock = std::make_shared<ManualClock>()},
                .setSampleDeliverySpacing = [this](double seconds) { deliverySpacing = seconds; }};
    }
    AppDelegate& launch(AppEnvironment environment) {
        delegate = std::make_unique<AppDelegate>(settings, std::move(environment));
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }

    TaskQueueMainThread mainThread;
    FakeSamplerFactory samplers;
    AppSettings settings{PreferencesStore::inMemory()};
    std::unique_ptr<AppDelegate> delegate;
    double deliverySpacing = 0;
};

inline bool shown(const QWidget* window) { return window != nullptr && window->isVisible(); }

// Runs the event loop until the first-run hint was due (0.2 s after launch): Qt fires timers in
// the order they expire, so a timer of the same delay started later fires after the hint's.
inline bool passTheHintsMoment() {
    bool passed = false;
    QTimer::singleShot(200, [&] { passed = true; });
    return runUntil([&] { return passed; });
}

}  // namespace glintdeck
