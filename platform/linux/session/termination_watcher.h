#pragma once

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

#include "core/main_thread.h"

namespace glintdeck {

// SIGINT, SIGTERM and SIGHUP become one request on the main thread, so Ctrl+C, `kill` and a
// closing session end the program through its orderly shutdown (grabs released, samplers
// stopped, threads joined) instead of the default abrupt death. Create it before any other
// thread: the signals are blocked in the creating thread and every thread started after it, and
// taken by a thread of its own. The main thread must outlive the watcher.
class TerminationWatcher final {
  public:
    TerminationWatcher(MainThread& mainThread, std::function<void()> onRequest);
    ~TerminationWatcher();
    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // Whether a signal came, from the moment it was sent, even before the watcher's thread has
    // taken it: the request may still be on its way to the main thread behind other work that
    // should not start any more.
    [[nodiscard]] bool requested() const;

  private:
    sigset_t signals_{};
    // Readable while one of the signals is pending; -1 when it could not be made, and the thread
    // then takes the signal with sigwait.
    int signalFd_ = -1;
    std::atomic<bool> requested_ = false;
    // Set before the destructor wakes the thread, so that wake-up is not taken for a request.
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

}  // namespace glintdeck
