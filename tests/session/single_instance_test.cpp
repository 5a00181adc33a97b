#include "platform/linux/session/single_instance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/linux/session/runtime_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/latch.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

// A private folder of this test's, standing for the user's runtime folder, and the socket's
// path in it.
class SingleInstanceTest : public testing::Test {
  protected:
    ScratchFolder folder_;
    const std::string name_ = (folder_.path() / "instance").string();
};

// Launches again at path while running serves; the toggles running took.
int toggleByLaunching(SingleInstance& running, const std::string& path) {
    std::atomic<bool> serving = true;
    std::atomic<int> toggles = 0;
    std::thread server([&] {
        while (serving) toggles += running.takeToggleRequests();
    });
    auto launch = SingleInstance::claim(path);
    EXPECT_FALSE(launch.instance);
    EXPECT_TRUE(launch.forwarded) << launch.problem;
    serving = false;
    server.join();
    return toggles;
}

// A local program's connection to the instance's socket; -1 when refused.
int connectTo(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

bool closedByTheInstance(int fd) {
    char byte;
    return recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

TEST_F(SingleInstanceTest, ConnectionsThatSayNothingNeverHoldTheRunningInstance) {
    auto first = SingleInstance::claim(name_);
    ASSERT_TRUE(first.instance);
    std::vector<int> silent;
    for (int i = 0; i < 40; ++i) {
        silent.push_back(connectTo(name_));
        ASSERT_GE(silent.back(), 0);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(first.instance->takeToggleRequests(), 0) << "connection " << i;
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150))
            << "connection " << i << " held the main thread";
    }
    EXPECT_LE(std::ranges::count_if(silent, [](int fd) { return !closedByTheInstance(fd); }),
              ToggleRequests::kMaxOpen)
        << "the oldest make room";
    EXPECT_EQ(toggleByLaunching(*first.instance, name_), 1)
        << "a launch gets through meanwhile, and toggles once";

    // The rest are closed at their deadline, which wakes the main loop.
    for (int fd : silent) {
        while (!closedByTheInstance(fd)) {
            pollfd ready{.fd = first.instance->fd(), .events = POLLIN, .revents = 0};
            ASSERT_EQ(poll(&ready, 1, 5000), 1) << "no wake-up at the deadline";
            first.instance->takeToggleRequests();
        }
        close(fd);
    }
}

TEST_F(SingleInstanceTest, ALockThatIsASymbolicLinkIsNeverFollowed) {
    const std::string target = (folder_.path() / "target").string();
    auto first = SingleInstance::claim(name_);
    ASSERT_TRUE(first.instance);
    fs::remove(name_ + ".lock");
    fs::create_symlink(target, name_ + ".lock");
    EXPECT_EQ(toggleByLaunching(*first.instance, name_), 1) << "the running one still answers";

    // With none running, a launch runs alone and says why.
    first.instance.reset();
    auto launch = SingleInstance::claim(name_);
    EXPECT_FALSE(launch.instance || launch.forwarded);
    EXPECT_THAT(launch.problem, testing::HasSubstr("symbolic link"));
    EXPECT_FALSE(fs::exists(target)) << "followed";
}

TEST(SingleInstanceNameTest, EachDisplayHasAnInstanceOfItsOwnHoweverItIsSpelled) {
    const std::pair<const char*, const char*> cases[] = {{":0", ":0"},
                                                         {":0.1", ":0"},
                                                         {"unix:0", ":0"},
                                                         {":12", ":12"},
                                                         {"localhost:10.0", "localhost:10"},
                                                         {"[::1]:3", "[::1]:3"},
                                                         {"", ":"}};
    for (const auto& [display, expected] : cases) {
        EXPECT_EQ(SingleInstance::socketName(display), std::string("glintdeck-") + expected)
            << display;
    }
}

TEST_F(SingleInstanceTest, TheNameIsFreeAgainOnceTheRunningInstanceEnds) {
    { auto first = SingleInstance::claim(name_); }
    EXPECT_TRUE(SingleInstance::claim(name_).instance);
    // One that crashed leaves its socket file behind.
    EXPECT_EQ(inChild([&]() -> int { _exit(SingleInstance::claim(name_).instance ? 0 : 1); }), 0);
    ASSERT_TRUE(fs::exists(name_));
    EXPECT_TRUE(SingleInstance::claim(name_).instance);
}

// Another account is played by a child that becomes "nobody" (so these need root).
TEST_F(SingleInstanceTest, AnotherAccountCanNeitherTakeTheNameNorSendAToggle) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another account";
    auto ours = SingleInstance::claim(name_);
    ASSERT_TRUE(ours.instance);
    auto claimAsNobody = [&] {
        return asOrdinaryUser([&] {
            auto claim = SingleInstance::claim(name_);
            return claim.instance ? 1 : claim.forwarded ? 2 : 0;
        });
    };
    EXPECT_EQ(claimAsNobody(), 0) << "the private folder keeps it out";

    // Where permissions do not hold (the folder opened to all), the peer checks still do: a
    // toggle sent by another account is dropped...
    fs::permissions(folder_.path(), fs::perms::all);
    for (const char* suffix : {"", ".lock"}) fs::permissions(name_ + suffix, fs::perms::all);
    EXPECT_EQ(asOrdinaryUser([&] {
                  int fd = connectTo(name_);
                  return fd >= 0 && send(fd, "toggle\n", 7, 0) == 7 ? 0 : 3;
              }),
              0);
    EXPECT_EQ(ours.instance->takeToggleRequests(), 0);
    EXPECT_EQ(claimAsNobody(), 0) << "...and its launch does not talk to ours";

    // ...and a socket another account put in our place takes no toggle of ours.
    ours.instance.reset();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t squatter = fork();
    if (squatter == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        auto claim = becomeNobody() ? SingleInstance::claim(name_) : SingleInstance::Claim{};
        char ok = claim.instance ? 1 : 0;
        (void)!write(ready[1], &ok, 1);
        for (;;) pause();
    }
    char squatting = 0;
    ASSERT_EQ(read(ready[0], &squatting, 1), 1);
    EXPECT_EQ(squatting, 1);
    auto ourLaunch = SingleInstance::claim(name_);
    EXPECT_FALSE(ourLaunch.forwarded);
    EXPECT_FALSE(ourLaunch.instance) << "the lock is the squatter's";
    kill(squatter, SIGKILL);
    waitpid(squatter, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
}

TEST(RuntimeFolderTest, OnlyAFolderOfOurOwnThatNobodyElseCanEnterIsUsed) {
    const ScratchFolder scratch;
    const fs::path& root = scratch.path();
    fs::create_directories(root / "session");
    fs::permissions(root, fs::perms::all);  // where another account may make the fallback
    fs::permissions(root / "session", fs::perms::owner_all);
    fs::create_directories(root / "open");
    fs::permissions(root / "open", fs::perms::all);
    fs::create_directory_symlink(root / "session", root / "link");
    // Deep enough that the socket's path no longer fits a socket address.
    const fs::path deep = root / std::string(100, 'd');
    fs::create_directory(deep);
    fs::permissions(deep, fs::perms::owner_all);
    const std::string fallback = (root / "fallback").string();
    for (const auto& [xdgRuntimeDir, expected] :
         std::vector<std::pair<std::optional<std::string>, std::string>>{
             {(root / "session").string(), (root / "session").string()},
             {std::nullopt, fallback},
             {"relative/session", fallback},
             {(root / "open").string(), fallback},
             {(root / "link").string(), fallback},
             {(root / "missing").string(), fallback},
             {deep.string(), fallback}}) {
        EXPECT_EQ(privateSocketPath(xdgRuntimeDir, fallback, "s"), expected + "/s")
            << xdgRuntimeDir.value_or("unset");
    }
    EXPECT_TRUE(isPrivateFolder(fallback)) << "made 0700";
    EXPECT_EQ(privateSocketPath(std::nullopt, fallback, std::string(120, 'n')), std::nullopt);

    // A fallback another account made first is not ours to use.
    if (geteuid() == 0) {
        fs::remove(fallback);
        EXPECT_EQ(asOrdinaryUser([&] { return mkdir(fallback.c_str(), 0700) == 0 ? 0 : 1; }), 0);
        EXPECT_EQ(privateSocketPath(std::nullopt, fallback, "s"), std::nullopt);
    }
}

TEST_F(SingleInstanceTest, ALaunchWhileTheRunningInstanceQuitsTakesItsPlace) {
    auto first = SingleInstance::claim(name_);
    ASSERT_TRUE(first.instance);
    // The quitting instance no longer takes requests: it closes its socket with the launch's
    // request still waiting, unanswered.
    std::thread quitting([&] {
        pollfd pending{.fd = first.instance->fd(), .events = POLLIN, .revents = 0};
        ASSERT_EQ(::poll(&pending, 1, 10'000), 1);
        first.instance.reset();
    });
    auto second = SingleInstance::claim(name_);
    quitting.join();
    EXPECT_FALSE(second.forwarded) << "nobody took the request";
    EXPECT_TRUE(second.instance);
}

TEST_F(SingleInstanceTest, OfSimultaneousLaunchesExactlyOneRuns) {
    constexpr int kLaunches = 4;
    Latch go(kLaunches);
    std::atomic<int> running = 0, forwarded = 0;
    std::vector<std::thread> launches;
    for (int i = 0; i < kLaunches; ++i) {
        launches.emplace_back([&] {
            go.arriveAndWait();
            SingleInstance::Claim claim = SingleInstance::claim(name_);
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
