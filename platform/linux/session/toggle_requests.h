#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace glintdeck {

// What a launch sends the running instance, and what it answers once the strip toggled.
inline constexpr std::string_view kToggleRequest = "toggle\n";
inline constexpr std::string_view kToggleAnswer = "ok\n";

// Whether the other end of a connected Unix socket runs as our user.
[[nodiscard]] bool peerIsOurUser(int fd);

// The running instance's side of its socket: takes the connections of launches and reads their
// requests without ever waiting on one, so a local program that connects and says nothing (or
// says it slowly) never holds the main thread. A connection not of our user is closed at once;
// one that has not sent its request within kDeadline is closed unanswered; of more than kMaxOpen
// waiting at once the oldest is closed, so a flood of silent connections costs a few descriptors
// and never shuts out a real launch, whose request follows its connect at once.
class ToggleRequests final {
  public:
    static constexpr auto kDeadline = std::chrono::milliseconds(500);
    static constexpr size_t kMaxOpen = 16;

    // listener: a non-blocking listening socket, still the caller's. nullptr when the kernel
    // refuses an epoll or timer descriptor.
    [[nodiscard]] static std::unique_ptr<ToggleRequests> create(int listener);
    ~ToggleRequests();
    ToggleRequests(const ToggleRequests&) = delete;
    ToggleRequests& operator=(const ToggleRequests&) = delete;

    // Readable while a connection, a request or a deadline waits: the descriptor to watch on the
    // main loop.
    [[nodiscard]] int fd() const { return epoll_; }

    // Does what is ready now, never waiting; returns how many toggle requests arrived (each is
    // answered).
    int take();

  private:
    struct Connection {
        int fd;
        std::chrono::steady_clock::time_point deadline;
        std::string received;
    };

    ToggleRequests(int listener, int epoll, int timer)
        : listener_(listener), epoll_(epoll), timer_(timer) {}
    void accept();
    // Whether the connection is done with: answered, refused, or closed by the launch.
    [[nodiscard]] bool read(Connection& connection, int& toggles);
    void closeExpired();
    void armTimer();

    int listener_;
    int epoll_;
    int timer_;
    std::deque<Connection> open_;  // oldest first, so deadlines in order
};

}  // namespace glintdeck
