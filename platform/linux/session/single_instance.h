#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/session/toggle_requests.h"

namespace glintdeck {

// One running Glintdeck per user and X display. The first launch listens on a Unix socket in the
// user's private runtime folder (runtime_folder.h), named after the display, so a launch in
// another session of the same user, or on a test's private server, gets a HUD of its own rather
// than toggling one on a screen nobody there sees; a later launch finds it, asks the running one
// to toggle its strip and exits. No other account can take the name first or send a toggle: the
// folder is closed to them, and both ends check that the peer runs as the same user. The running
// instance holds an exclusive lock on "<socket>.lock" for its whole life, so of two launches at
// the same moment exactly one becomes the running instance, and a socket left by one that
// crashed is replaced; the lock is never reached through a symbolic link. A running instance that
// is quitting stops taking requests and closes the socket unanswered; a launch meanwhile waits and
// takes its place, so quitting and relaunching at once still leaves one instance running. Requests
// are read without ever waiting on the launch that sends them (toggle_requests.h).
class SingleInstance final {
  public:
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The socket's file name on an X display: "glintdeck-<host>:<number>", the display named
    // without its screen and without the "unix" host that means local, so that ":0", ":0.1" and
    // "unix:0" are the same display.
    [[nodiscard]] static std::string socketName(std::string_view display);

    // The socket's path for the current user, in their private runtime folder (runtime_folder.h);
    // nothing when they have none.
    [[nodiscard]] static std::optional<std::string> pathForCurrentUser(std::string_view display);

    struct Claim {
        std::unique_ptr<SingleInstance> instance;  // we are the running instance
        bool forwarded = false;                    // another instance took our toggle request
        std::string problem;                       // neither: why, in words for the user
    };

    // Becomes the running instance at path, or forwards a toggle request to the one already
    // running there. Neither only when the socket cannot be used at all (a symbolic link stands
    // where the lock should be, the path is too long for a socket address, ...); the caller then
    // runs anyway rather than refusing to start, and says why.
    [[nodiscard]] static Claim claim(const std::string& path);

    // The descriptor to watch for readability on the main loop.
    [[nodiscard]] int fd() const { return requests_->fd(); }

    // Takes what launches sent without blocking; returns how many toggle requests arrived.
    int takeToggleRequests() { return requests_->take(); }

  private:
    SingleInstance(int fd, int lockFd, std::string path, std::unique_ptr<ToggleRequests> requests)
        : fd_(fd), lockFd_(lockFd), path_(std::move(path)), requests_(std::move(requests)) {}
    int fd_;
    int lockFd_;
    std::string path_;
    std::unique_ptr<ToggleRequests> requests_;
};

}  // namespace glintdeck
