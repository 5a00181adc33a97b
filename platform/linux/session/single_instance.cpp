#include "platform/linux/session/single_instance.h"

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

#include "platform/linux/session/no_follow_file.h"
#include "platform/linux/session/runtime_folder.h"

namespace glintdeck {
namespace {

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
    if (path.empty() || !fitsSocketAddress(path)) return std::nullopt;
    result.address.sun_family = AF_UNIX;
    std::memcpy(result.address.sun_path, path.data(), path.size());
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return result;
}

// A non-blocking listening socket, or -1 with errno set.
int listenAt(const SocketAddress& address) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0 &&
        ::listen(fd, 8) == 0) {
        return fd;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

std::string describeErrno(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
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
        } else if (::send(fd, kToggleRequest.data(), kToggleRequest.size(), MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(kToggleRequest.size())) {
            delivery = Delivery::delivered;
            char reply[kToggleAnswer.size() + 1] = {};
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
    requests_.reset();
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
    return privateSocketPath(runtime ? std::optional<std::string_view>(runtime) : std::nullopt,
                             fallbackRuntimeFolder(), socketName(display));
}

SingleInstance::Claim SingleInstance::claim(const std::string& path) {
    auto address = socketAddress(path);
    if (!address) return {.problem = path + " is too long for a socket address"};
    const std::string lockPath = path + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd < 0) {
        const int error = errno;
        // Without the lock nobody new can run here, but one already running still answers.
        if (sendToggle(*address) == Delivery::delivered) return {.forwarded = true};
        return {.problem = describeNoFollowError(lockPath, error)};
    }
    Claim claim;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (::flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            // Ours alone now; a socket still there belonged to an instance that crashed.
            ::unlink(path.c_str());
            int fd = listenAt(*address);
            if (auto requests = fd >= 0 ? ToggleRequests::create(fd) : nullptr) {
                return {std::unique_ptr<SingleInstance>(
                    new SingleInstance(fd, lockFd, path, std::move(requests)))};
            }
            claim.problem = describeErrno("cannot listen on " + path, errno);
            if (fd >= 0) ::close(fd);
            break;
        }
        if (errno != EWOULDBLOCK) {
            claim.problem = describeErrno("cannot lock " + lockPath, errno);
            break;
        }
        Delivery delivery = sendToggle(*address);
        if (delivery == Delivery::foreign) {
            claim.problem = path + " is answered by a program of another user";
            break;
        }
        if (delivery == Delivery::delivered) {
            ::close(lockFd);
            return {.forwarded = true};
        }
        // The lock is held but nobody took the request: the owner is starting or quitting. Try
        // again.
        claim.problem = "the instance running at " + path + " does not answer";
        std::this_thread::sleep_for(kConnectRetryDelay);
    }
    ::close(lockFd);
    return claim;
}

}  // namespace glintdeck
