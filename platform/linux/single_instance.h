#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// One running Glintdeck per user and X display. The first launch listens on an abstract-namespace
// Unix socket named after the user id and the display (no file anywhere, gone when the process
// dies), so a launch in another session of the same user, or on a test's private server, gets a
// HUD of its own rather than toggling one on a screen nobody there sees; a later launch finds
// it, asks the running one to toggle its strip and exits. Binding a name is atomic, so of two
// launches at the same moment exactly one becomes the running instance. A running instance that
// is quitting stops taking requests and closes the socket unanswered; a launch meanwhile waits
// and takes its place, so quitting and relaunching at once still leaves one instance running.
class SingleInstance final {
  public:
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The socket name for the current user on an X display: "glintdeck-<uid>-<host>:<number>",
    // the display named without its screen and without the "unix" host that means local, so
    // that ":0", ":0.1" and "unix:0" are the same display.
    [[nodiscard]] static std::string nameForCurrentUser(std::string_view display);

    struct Claim {
        std::unique_ptr<SingleInstance> instance;  // we are the running instance
        bool forwarded = false;                    // another instance took our toggle request
    };

    // Becomes the running instance, or forwards a toggle request to the one already running.
    // Neither (both fields empty) only when the socket cannot be used at all; the caller then
    // runs anyway rather than refusing to start.
    [[nodiscard]] static Claim claim(const std::string& name);

    // The listening descriptor, to watch for readability on the main loop.
    [[nodiscard]] int fd() const { return fd_; }

    // Accepts pending requests without blocking; returns how many toggle requests arrived.
    int takeToggleRequests();

  private:
    explicit SingleInstance(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace glintdeck
