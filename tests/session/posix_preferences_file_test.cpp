#include "platform/linux/session/posix_preferences_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>

#include "tests/session/preferences_folder.h"
#include "tests/support/child_process.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Mode = PreferencesStore::Mode;

void quiet(const std::string&) {}

using PosixPreferencesFileTest = PreferencesFolderTest;

TEST_F(PosixPreferencesFileTest, CreatesPrivateFoldersAndReplacesWholeFiles) {
    auto mode = [](const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; };
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    PosixPreferencesFile file(path());
    EXPECT_EQ(file.read().status, PreferencesFile::ReadStatus::absent);
    ASSERT_TRUE(file.replace("{\"a\": 1}\n"));
    EXPECT_EQ(mode(folder()), fs::perms::owner_all);
    EXPECT_EQ(mode(path()), ownerOnly);
    ASSERT_TRUE(file.replace("{}"));
    EXPECT_EQ(file.read().text, "{}");
    EXPECT_EQ(names(), std::vector<std::string>{"defaults.json"}) << "no temporary file is left";

    // A file the user made readable to others stays so.
    fs::permissions(path(), ownerOnly | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(file.replace("{\"b\": 2}"));
    EXPECT_EQ(mode(path()), ownerOnly | fs::perms::group_read | fs::perms::others_read);
}

// Dotfile managers link single files into place: such a file is read, but a link is never
// written through, renamed aside or replaced (run as root with defaults.json -> /etc/passwd,
// that replaced /etc/passwd). Changes hold in memory, and the first one says why.
TEST_F(PosixPreferencesFileTest, ALinkedFileIsReadButNeverWrittenThrough) {
    const fs::path own = scratch_.path() / "own-file";
    struct Plant {
        const char* what;
        std::optional<std::string> target;  // the linked file's text, nothing for a dangling link
        bool beforeLoading;
        std::optional<double> interval;  // as read
        size_t warnings;                 // how many, over two changes
        const char* said;                // by the last
    };
    const std::string settings = "{\"interval\": 2}";
    for (const Plant& plant : {
             Plant{"a settings file of the user's", settings, true, 2, 1, "symbolic link"},
             Plant{"not JSON: never set aside", "not json", true, {}, 2, "symbolic link"},
             Plant{"nothing yet: never created", std::nullopt, true, {}, 1, "symbolic link"},
             Plant{"planted while running", settings, false, {}, 1, "could not save"},
         }) {
        SCOPED_TRACE(plant.what);
        fs::remove_all(folder());
        fs::remove(own);
        fs::create_directories(folder());
        if (plant.target) std::ofstream(own) << *plant.target;
        if (plant.beforeLoading) fs::create_symlink(own, path());
        std::vector<std::string> warnings;
        auto store = open(Mode::readWrite, &warnings);
        if (!plant.beforeLoading) fs::create_symlink(own, path());

        EXPECT_EQ(store->doubleValue("interval"), plant.interval);
        if (plant.beforeLoading) {
            EXPECT_EQ(open(Mode::readOnly)->doubleValue("interval"), plant.interval)
                << "as glintdeck-stats reads it";
        }
        EXPECT_FALSE(store->setDouble("interval", 3));
        EXPECT_FALSE(store->setDouble("interval", 4));
        EXPECT_EQ(store->doubleValue("interval"), 4.0);
        ASSERT_EQ(warnings.size(), plant.warnings);
        EXPECT_NE(warnings.back().find(plant.said), std::string::npos) << warnings.back();
        EXPECT_EQ(store->whyChangesAreNotSaved().empty(), !plant.beforeLoading);
        EXPECT_EQ(fs::read_symlink(path()), own);
        EXPECT_EQ(names(), std::vector<std::string>{"defaults.json"});
        if (plant.target) {
            EXPECT_EQ(scratch_.read("own-file"), *plant.target);
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(own)));
        }
    }
}

TEST_F(PosixPreferencesFileTest, CorruptFileIsKeptAsideUnderItsOwnNameAndNeverOverwritten) {
    put("{\"interval\": 2,");
    std::vector<std::string> warnings;
    auto store = open(Mode::readWrite, &warnings);
    const std::string kept = kKept;
    EXPECT_EQ(names(), std::vector<std::string>{kept});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(kept), std::string::npos);
    EXPECT_FALSE(store->contains("interval"));
    ASSERT_TRUE(store->setDouble("interval", 4));

    // The same within one second: the second copy gets a name of its own.
    put("[]");
    open();
    EXPECT_EQ(names(), (std::vector<std::string>{"defaults.json.corrupt-20240102T030405Z",
                                                 "defaults.json.corrupt-20240102T030405Z-2"}));
    EXPECT_EQ(scratch_.read(fs::path("glintdeck") / kept), "{\"interval\": 2,");
    EXPECT_EQ(scratch_.read(fs::path("glintdeck") / (kept + "-2")), "[]");
}

TEST_F(PosixPreferencesFileTest, FailedWritesLeaveTheOldFile) {
    const std::string before = "{\"stripHeight\": 30}";
    put(before);
    const std::string padding(64 * 1024, 'x');
    // A full disk (every file larger than 1 KiB stops growing), then room again: the next write
    // stores every change since.
    EXPECT_EQ(inChild([&] {
                  signal(SIGXFSZ, SIG_IGN);
                  rlimit limit{1024, RLIM_INFINITY};
                  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
                  auto store = open();
                  if (store->setString("padding", padding)) return 11;
                  if (store->stringValue("padding") != padding) return 12;
                  if (scratch_.read("glintdeck/defaults.json") != before) return 13;
                  if (names() != std::vector<std::string>{"defaults.json"}) return 14;
                  limit.rlim_cur = RLIM_INFINITY;
                  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
                  if (!store->setBool("hasSeenHint", true)) return 15;
                  auto reopened = open();
                  return reopened->stringValue("padding") == padding &&
                                 reopened->doubleValue("stripHeight") == 30.0
                             ? 0
                             : 16;
              }),
              0);

    // A folder that cannot be created.
    scratch_.write("blocked", "a file where a folder should be");
    PosixPreferencesFile blocked((scratch_.path() / "blocked/glintdeck/defaults.json").string());
    EXPECT_FALSE(blocked.replace("{}"));
}

TEST_F(PosixPreferencesFileTest, StaleTemporariesOfKilledWritesAreRemoved) {
    put("{}");
    std::ofstream(folder() / "defaults.json.tmp-a1B2c3") << "{\"half";
    std::ofstream(folder() / "other.json.tmp-a1B2c3") << "not ours";
    PosixPreferencesFile(path()).removeStaleTemporaries();
    EXPECT_EQ(names(), (std::vector<std::string>{"defaults.json", "other.json.tmp-a1B2c3"}));
}

std::string paddingFor(int64_t counter) {
    return std::string(32 * 1024, static_cast<char>('a' + counter % 26));
}

// Writes ever larger counters with matching padding, reporting each finished write on fd.
[[noreturn]] void writeUntilKilled(const std::string& path, int fd) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    PreferencesStore store(std::make_unique<PosixPreferencesFile>(path), Mode::readWrite, quiet);
    int64_t counter = store.integerValue("counter").value_or(0);
    for (int i = 0; i < 100000; ++i) {
        ++counter;
        bool stored = store.batch([&] {
            store.setInteger("counter", counter);
            store.setString("padding", paddingFor(counter));
        });
        if (!stored || write(fd, &counter, sizeof counter) != sizeof counter) _exit(2);
    }
    _exit(3);
}

TEST_F(PosixPreferencesFileTest, WriterKilledAtRandomMomentsLeavesTheOldOrTheNewFile) {
    std::mt19937 random(20240102);
    const auto started = std::chrono::steady_clock::now();
    int rounds = 0;
    int killedMidWrite = 0;
    for (; rounds < 300; ++rounds) {
        // Bounded on a slow or busy machine; a hundred rounds already catch a torn write.
        if (rounds >= 100 &&
            std::chrono::steady_clock::now() - started > std::chrono::seconds(15)) {
            break;
        }
        int pipeEnds[2];
        ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
        pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            writeUntilKilled(path(), pipeEnds[1]);
        }
        close(pipeEnds[1]);
        int64_t reported = 0;
        int64_t last = -1;
        int wanted = std::uniform_int_distribution(0, 2)(random);
        for (int count = 0; count < wanted && read(pipeEnds[0], &reported, sizeof reported) ==
                                                  static_cast<ssize_t>(sizeof reported);
             ++count) {
            last = reported;
        }
        // Somewhere inside the next write, or the one after.
        volatile int spin = 0;
        for (int i = std::uniform_int_distribution(0, 200000)(random); i > 0; --i) spin = spin + 1;
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        while (read(pipeEnds[0], &reported, sizeof reported) == sizeof reported) last = reported;
        close(pipeEnds[0]);

        auto contents = PosixPreferencesFile(path()).read();
        if (contents.status == PreferencesFile::ReadStatus::absent) {
            ASSERT_EQ(last, -1) << "round " << rounds;  // killed before its first write
            continue;
        }
        Json json = Json::parse(contents.text, nullptr, false);
        ASSERT_TRUE(json.is_object()) << "round " << rounds << ": torn file";
        int64_t counter = json["counter"].get<int64_t>();
        if (last >= 0) {
            ASSERT_TRUE(counter == last || counter == last + 1)
                << "round " << rounds << ": file " << counter << ", last reported " << last;
        }
        ASSERT_EQ(json["padding"], paddingFor(counter)) << "round " << rounds;
        for (const auto& name : names()) {
            ASSERT_EQ(name.find("corrupt"), std::string::npos) << name;
            if (name.find(".tmp-") != std::string::npos) {
                ++killedMidWrite;
                fs::remove(folder() / name);
            }
        }
    }
    std::printf("%d rounds, %d killed in the middle of a write\n", rounds, killedMidWrite);
}

}  // namespace
}  // namespace glintdeck
