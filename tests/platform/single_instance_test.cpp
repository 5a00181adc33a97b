#include "platform/linux/single_instance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>
#include "tests/support/latch.h"

namespace glintdeck {
namespace {

std::string uniqueName(const char* test) {
    return std::string("glintdeck-test-") + test + "-" + std::to_string(getpid());
}

TEST(SingleInstanceTest, ASecondLaunchForwardsAToggleToTheRunningOne) {
    const std::string name = uniqueName("forward");
    auto first = SingleInstance::claim(name);
    ASSERT_TRUE(first.instance);
    EXPECT_EQ(first.instance->takeToggleRequests(), 0);

    std::atomic<bool> serving = true;
    std::atomic<int> toggles = 0;
    std::thread server([&] {
        while (serving) toggles += first.instance->takeToggleRequests();
    });
    auto second = SingleInstance::claim(name);
    EXPECT_FALSE(second.instance);
    EXPECT_TRUE(second.forwarded);
    serving = false;
    server.join();
    EXPECT_EQ(toggles, 1) << "one launch, one toggle";
}

TEST(SingleInstanceTest, EachDisplayHasAnInstanceOfItsOwnHoweverItIsSpelled) {
    const std::string user = "glintdeck-" + std::to_string(getuid()) + "-";
    const std::pair<const char*, const char*> cases[] = {
        {":0", ":0"},
        {":0.1", ":0"},
        {"unix:0", ":0"},
        {":12", ":12"},
        {"localhost:10.0", "localhost:10"},
        {"[::1]:3", "[::1]:3"},
        {"", ":"},
    };
    for (const auto& [display, expected] : cases) {
        EXPECT_EQ(SingleInstance::nameForCurrentUser(display), user + expected) << display;
    }
}

TEST(SingleInstanceTest, TheNameIsFreeAgainOnceTheRunningInstanceEnds) {
    const std::string name = uniqueName("release");
    { auto first = SingleInstance::claim(name); }
    EXPECT_TRUE(SingleInstance::claim(name).instance);
}

TEST(SingleInstanceTest, ALaunchWhileTheRunningInstanceQuitsTakesItsPlace) {
    const std::string name = uniqueName("handover");
    auto first = SingleInstance::claim(name);
    ASSERT_TRUE(first.instance);
    // The quitting instance no longer takes requests: it closes its socket with the launch's
    // request still waiting, unanswered.
    std::thread quitting([&] {
        pollfd pending{.fd = first.instance->fd(), .events = POLLIN, .revents = 0};
        ASSERT_EQ(::poll(&pending, 1, 10'000), 1);
        first.instance.reset();
    });
    auto second = SingleInstance::claim(name);
    quitting.join();
    EXPECT_FALSE(second.forwarded) << "nobody took the request";
    EXPECT_TRUE(second.instance);
}

TEST(SingleInstanceTest, OfSimultaneousLaunchesExactlyOneRuns) {
    const std::string name = uniqueName("race");
    constexpr int kLaunches = 4;
    Latch go(kLaunches);
    std::atomic<int> running = 0, forwarded = 0;
    std::vector<std::thread> launches;
    for (int i = 0; i < kLaunches; ++i) {
        launches.emplace_back([&] {
            go.arriveAndWait();
            SingleInstance::Claim claim = SingleInstance::claim(name);
            if (claim.forwarded) ++forwarded;
            if (!claim.instance) return;
            ++running;
            // The winner answers until every other launch has been forwarded.
            while (forwarded < kLaunches - 1) claim.instance->takeToggleRequests();
        });
    }
    for (auto& launch : launches) launch.join();
    EXPECT_EQ(running, 1);
    EXPECT_EQ(forwarded, kLaunches - 1);
}

}  // namespace
}  // namespace glintdeck
