#include "platform/linux/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/linux/runtime_folder.h"

namespace glintdeck {
namespace {

constexpr char kToggle[] = "toggle\n";
constexpr char kDone[] = "ok\n";
// A peer that connects but says nothing must not hold the main thread.
constexpr int kPeerTimeoutMs = 200;
constexpr int kAcknowledgeTimeoutMs = 2000;
// A running instance that is starting up, or shutting down, answers within this.
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryDelay = std::chrono::milliseconds(25);

struct SocketAddress {
    sockaddr_un address{};
    socklen_t length = 0;
};

std::optional<SocketAddress> socketAddress(const std::string& path) {
    SocketAddress result;
    if (path.empty() || path.size() >= sizeof(result.address.sun_path)) return std::nullopt;
    result.address.sun_family = AF_UNIX;
    std::memcpy(result.address.sun_path, path.data(), path.size());
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return result;
}

// Whether the other end of a connected socket runs as our user. The folder already keeps others
// out; this also holds where it cannot (a file system without permissions).
bool peerIsOurUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::geteuid();
}

bool waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{.fd = fd, .events = events, .revents = 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

enum class Delivery {
    // The running instance answered, or still holds the request unanswered after the timeout:
    // it is alive but busy, and a retry would toggle twice.
    delivered,
    // Nobody listens, or the connection was closed unanswered: that instance is starting or
    // quitting (it takes no more requests once asked to), and the caller should try again.
    notYet,
    // Whoever listens is not our user: never ours to talk to, and never worth another try.
    foreign,
};

Delivery sendToggle(const SocketAddress& address) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Delivery::notYet;
    Delivery delivery = Delivery::notYet;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0) {
        if (!peerIsOurUser(fd)) {
            delivery = Delivery::foreign;
        } else if (::send(fd, kToggle, sizeof(kToggle) - 1, MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(sizeof(kToggle) - 1)) {
            delivery = Delivery::delivered;
            char reply[sizeof(kDone)] = {};
            if (waitFor(fd, POLLIN, kAcknowledgeTimeoutMs) &&
                ::recv(fd, reply, sizeof(reply) - 1, 0) <= 0) {
                delivery = Delivery::notYet;
            }
        }
    }
    ::close(fd);
    return delivery;
}

}  // namespace

SingleInstance::~SingleInstance() {
    // Gone from the folder before the lock is released, so the next instance never finds ours.
    ::unlink(path_.c_str());
    ::close(fd_);
    ::close(lockFd_);
}

std::string SingleInstance::socketName(std::string_view display) {
    std::string_view host;
    std::string_view number = display;
    if (size_t colon = display.rfind(':'); colon != std::string_view::npos) {
        host = display.substr(0, colon);
        number = display.substr(colon + 1);
    }
    if (host == "unix") host = {};
    number = number.substr(0, number.find('.'));
    return "glintdeck-" + std::string(host) + ":" + std::string(number);
}

std::optional<std::string> SingleInstance::pathForCurrentUser(std::string_view display) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    auto folder = privateRuntimeFolder(
        runtime ? std::optional<std::string_view>(runtime) : std::nullopt, fallbackRuntimeFolder());
    if (!folder) return std::nullopt;
    return *folder + "/" + socketName(display);
}

SingleInstance::Claim SingleInstance::claim(const std::string& path) {
    auto address = socketAddress(path);
    if (!address) return {};
    int lockFd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd < 0) return {};
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (::flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            // Ours alone now; a socket still there belonged to an instance that crashed.
            ::unlink(path.c_str());
            int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            if (fd >= 0 &&
                ::bind(fd, reinterpret_cast<const sockaddr*>(&address->address), address->length) ==
                    0 &&
                ::listen(fd, 8) == 0) {
                return {std::unique_ptr<SingleInstance>(new SingleInstance(fd, lockFd, path))};
            }
            if (fd >= 0) ::close(fd);
            break;
        }
        if (errno != EWOULDBLOCK) break;
        Delivery delivery = sendToggle(*address);
        if (delivery == Delivery::foreign) break;
        if (delivery == Delivery::delivered) {
            ::close(lockFd);
            return {.forwarded = true};
        }
        // The lock is held but nobody took the request: the owner is starting or quitting. Try
        // again.
        std::this_thread::sleep_for(kConnectRetryDelay);
    }
    ::close(lockFd);
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
        if (peerIsOurUser(peer) && waitFor(peer, POLLIN, kPeerTimeoutMs) &&
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
