#include "platform/linux/session/termination_watcher.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

namespace glintdeck {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

TerminationWatcher::TerminationWatcher(MainThread& mainThread, std::function<void()> onRequest) {
    sigemptyset(&signals_);
    for (int signal : kSignals) sigaddset(&signals_, signal);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    signalFd_ = ::signalfd(-1, &signals_, SFD_CLOEXEC);
    thread_ = std::thread([this, &mainThread, onRequest = std::move(onRequest)] {
        if (signalFd_ >= 0) {
            // Waits without taking the signal, and notes the request before taking it: at every
            // moment either the signal is pending or requested_ is set, which requested() needs.
            pollfd entry{.fd = signalFd_, .events = POLLIN, .revents = 0};
            while (::poll(&entry, 1, -1) < 0 && errno == EINTR) {
            }
            if (stopping_) return;
            requested_ = true;
            signalfd_siginfo taken{};
            (void)::read(signalFd_, &taken, sizeof(taken));
        } else {
            int received = 0;
            sigwait(&signals_, &received);
            if (stopping_) return;
            requested_ = true;
        }
        mainThread.post(onRequest);
    });
}

bool TerminationWatcher::requested() const {
    if (requested_) return true;
    sigset_t pending;
    sigpending(&pending);
    for (int signal : kSignals) {
        if (sigismember(&pending, signal) == 1) return true;
    }
    return false;
}

TerminationWatcher::~TerminationWatcher() {
    stopping_ = true;
    pthread_kill(thread_.native_handle(), SIGTERM);  // wakes the thread if nothing came
    thread_.join();
    if (signalFd_ >= 0) ::close(signalFd_);
}

}  // namespace glintdeck
