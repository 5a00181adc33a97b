#pragma once

#include <memory>
#include <optional>
#include <string>

namespace glintdeck {

// One running Glintdeck per user. The first launch listens on an abstract-namespace Unix socket
// named after the user id (no file anywhere, gone when the process dies); a later launch finds
// it, asks the running one to toggle its strip and exits. Binding a name is atomic, so of two
// launches at the same moment exactly one becomes the running instance.
class SingleInstance final {
  public:
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The socket name for the current user: "glintdeck-<uid>".
    [[nodiscard]] static std::string nameForCurrentUser();

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
