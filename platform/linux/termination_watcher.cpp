#include "platform/linux/termination_watcher.h"

namespace glintdeck {

TerminationWatcher::TerminationWatcher(MainThread& mainThread, std::function<void()> onRequest) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    sigaddset(&signals_, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    thread_ = std::thread([this, &mainThread, onRequest = std::move(onRequest)] {
        int received = 0;
        sigwait(&signals_, &received);
        if (!stopping_) mainThread.post(onRequest);
    });
}

TerminationWatcher::~TerminationWatcher() {
    stopping_ = true;
    pthread_kill(thread_.native_handle(), SIGTERM);  // wakes sigwait if nothing came
    thread_.join();
}

}  // namespace glintdeck
