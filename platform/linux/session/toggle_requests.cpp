#include "platform/linux/session/toggle_requests.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace glintdeck {
namespace {

// A timerfd expiry at `when` on CLOCK_MONOTONIC (steady_clock's), for TFD_TIMER_ABSTIME; a time
// already past expires at once.
itimerspec timerExpiryAt(std::chrono::steady_clock::time_point when) {
    auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch());
    // Zero would disarm the timer.
    if (since.count() <= 0) since = std::chrono::nanoseconds(1);
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(since.count() / 1'000'000'000);
    expiry.it_value.tv_nsec = static_cast<long>(since.count() % 1'000'000'000);
    return expiry;
}

bool watch(int epoll, int fd) {
    epoll_event event{.events = EPOLLIN, .data = {.fd = fd}};
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

}  // namespace

// The folder already keeps others out; this also holds where it cannot (a file system without
// permissions).
bool peerIsOurUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::geteuid();
}

std::unique_ptr<ToggleRequests> ToggleRequests::create(int listener) {
    // One descriptor for the main loop, readable when any of those it holds is (a pending
    // connection, a request, the deadline timer).
    int epoll = ::epoll_create1(EPOLL_CLOEXEC);
    int timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (epoll >= 0 && timer >= 0 && watch(epoll, listener) && watch(epoll, timer)) {
        return std::unique_ptr<ToggleRequests>(new ToggleRequests(listener, epoll, timer));
    }
    if (epoll >= 0) ::close(epoll);
    if (timer >= 0) ::close(timer);
    return nullptr;
}

ToggleRequests::~ToggleRequests() {
    // Unanswered: a launch waiting on one of these takes our place once we are gone.
    for (const Connection& connection : open_) ::close(connection.fd);
    ::close(timer_);
    ::close(epoll_);
}

int ToggleRequests::take() {
    uint64_t expirations;
    (void)!::read(timer_, &expirations, sizeof expirations);
    accept();
    int toggles = 0;
    for (auto connection = open_.begin(); connection != open_.end();) {
        if (read(*connection, toggles)) {
            ::close(connection->fd);
            connection = open_.erase(connection);
        } else {
            ++connection;
        }
    }
    closeExpired();
    armTimer();
    return toggles;
}

void ToggleRequests::accept() {
    // At most a full set per call: a program connecting in a loop cannot keep us here.
    for (size_t accepted = 0; accepted < kMaxOpen; ++accepted) {
        int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return;  // EAGAIN: nothing more is waiting
        }
        if (!peerIsOurUser(fd) || !watch(epoll_, fd)) {
            ::close(fd);
            continue;
        }
        if (open_.size() == kMaxOpen) {
            ::close(open_.front().fd);
            open_.pop_front();
        }
        open_.push_back({fd, std::chrono::steady_clock::now() + kDeadline, {}});
    }
}

bool ToggleRequests::read(Connection& connection, int& toggles) {
    char buffer[kToggleRequest.size()];
    const ssize_t length =
        ::recv(connection.fd, buffer, kToggleRequest.size() - connection.received.size(), 0);
    if (length < 0) return errno != EAGAIN && errno != EINTR;
    if (length == 0) return true;  // the launch gave up
    connection.received.append(buffer, static_cast<size_t>(length));
    if (!kToggleRequest.starts_with(connection.received)) return true;
    if (connection.received.size() < kToggleRequest.size()) return false;
    ++toggles;
    (void)::send(connection.fd, kToggleAnswer.data(), kToggleAnswer.size(), MSG_NOSIGNAL);
    return true;
}

void ToggleRequests::closeExpired() {
    const auto now = std::chrono::steady_clock::now();
    while (!open_.empty() && open_.front().deadline <= now) {
        ::close(open_.front().fd);
        open_.pop_front();
    }
}

void ToggleRequests::armTimer() {
    const itimerspec expiry = open_.empty() ? itimerspec{} : timerExpiryAt(open_.front().deadline);
    (void)::timerfd_settime(timer_, TFD_TIMER_ABSTIME, &expiry, nullptr);
}

}  // namespace glintdeck
