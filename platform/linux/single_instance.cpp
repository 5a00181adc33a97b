#include "platform/linux/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace glintdeck {
namespace {

constexpr char kToggle[] = "toggle\n";
constexpr char kDone[] = "ok\n";
// A peer that connects but says nothing must not hold the main thread.
constexpr int kPeerTimeoutMs = 200;
constexpr int kAcknowledgeTimeoutMs = 2000;
// A running instance that is between bind() and listen(), or shutting down, answers within this.
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryDelay = std::chrono::milliseconds(25);

struct AbstractAddress {
    sockaddr_un address{};
    socklen_t length = 0;
};

AbstractAddress abstractAddress(const std::string& name) {
    AbstractAddress result;
    result.address.sun_family = AF_UNIX;
    // A leading NUL puts the name in the abstract namespace.
    size_t length = std::min(name.size(), sizeof(result.address.sun_path) - 1);
    std::memcpy(result.address.sun_path + 1, name.data(), length);
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    return result;
}

bool waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{.fd = fd, .events = events, .revents = 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// Delivered when the running instance answers, or when it still holds the request unanswered
// after the timeout: it is alive but busy, and a retry would toggle twice. Not delivered when
// nobody listens, or when the connection is closed unanswered: that instance is quitting (it
// takes no more requests once asked to), and the caller should take its place.
bool sendToggle(const AbstractAddress& address) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool delivered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0 &&
        ::send(fd, kToggle, sizeof(kToggle) - 1, MSG_NOSIGNAL) ==
            static_cast<ssize_t>(sizeof(kToggle) - 1)) {
        delivered = true;
        if (waitFor(fd, POLLIN, kAcknowledgeTimeoutMs)) {
            char reply[sizeof(kDone)] = {};
            delivered = ::recv(fd, reply, sizeof(reply) - 1, 0) > 0;
        }
    }
    ::close(fd);
    return delivered;
}

}  // namespace

SingleInstance::~SingleInstance() { ::close(fd_); }

std::string SingleInstance::nameForCurrentUser(std::string_view display) {
    std::string_view host;
    std::string_view number = display;
    if (size_t colon = display.rfind(':'); colon != std::string_view::npos) {
        host = display.substr(0, colon);
        number = display.substr(colon + 1);
    }
    if (host == "unix") host = {};
    number = number.substr(0, number.find('.'));
    return "glintdeck-" + std::to_string(::getuid()) + "-" + std::string(host) + ":" +
           std::string(number);
}

SingleInstance::Claim SingleInstance::claim(const std::string& name) {
    AbstractAddress address = abstractAddress(name);
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return {};
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0) {
            if (::listen(fd, 8) == 0)
                return {std::unique_ptr<SingleInstance>(new SingleInstance(fd))};
            ::close(fd);
            return {};
        }
        int bindError = errno;
        ::close(fd);
        if (bindError != EADDRINUSE) return {};
        if (sendToggle(address)) return {.forwarded = true};
        // The name is taken but nobody took the request: the owner is starting or quitting. Try
        // again.
        std::this_thread::sleep_for(kConnectRetryDelay);
    }
    return {};
}

int SingleInstance::takeToggleRequests() {
    int toggles = 0;
    for (;;) {
        int peer = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) {
            if (errno == EINTR) continue;
            return toggles;  // EAGAIN: nothing more is waiting
        }
        char request[sizeof(kToggle)] = {};
        if (waitFor(peer, POLLIN, kPeerTimeoutMs) &&
            ::recv(peer, request, sizeof(request) - 1, 0) ==
                static_cast<ssize_t>(sizeof(kToggle) - 1) &&
            std::strcmp(request, kToggle) == 0) {
            ++toggles;
            (void)::send(peer, kDone, sizeof(kDone) - 1, MSG_NOSIGNAL);
        }
        ::close(peer);
    }
}

}  // namespace glintdeck
