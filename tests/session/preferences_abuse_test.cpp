// The preferences file as others may leave it: enormous, nested without end, a pipe, a link
// to nowhere or to itself, on a full disk. The program must start at once with whatever it can
// keep, never crash, keep every value the user set and never destroy the file it found.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "settings/app_settings.h"
#include "tests/session/preferences_folder.h"
#include "tests/support/child_process.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;
using Mode = PreferencesStore::Mode;

class PreferencesAbuseTest : public PreferencesFolderTest {
  protected:
    PreferencesAbuseTest() { fs::create_directories(folder()); }
};

TEST_F(PreferencesAbuseTest, FilesFarLargerOrDeeperThanOursAreKeptAsideUnread) {
    const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
    std::string million = "{\"statOrder\": [";
    for (int i = 0; i < 1'000'000; ++i) million += "\"cpu\",";
    million.back() = ']';
    million += '}';
    for (const std::string& text : {
             // 50 MB of one string, or of a million-entry array
             "{\"interval\": 2, \"padding\": \"" + std::string(50 << 20, 'x') + "\"}",
             million,
             // nested far deeper than the three levels preferences use
             "{\"interval\": 2, \"a\": " + deep + "}",
         }) {
        put(text);
        std::vector<std::string> readOnlyWarnings;
        EXPECT_FALSE(open(Mode::readOnly, &readOnlyWarnings)->contains("interval"));
        EXPECT_EQ(readOnlyWarnings.size(), 1u);
        EXPECT_EQ(names(), std::vector<std::string>{"defaults.json"})
            << "read-only renames nothing";

        std::vector<std::string> warnings;
        auto store = open(Mode::readWrite, &warnings);
        EXPECT_FALSE(store->contains("interval"));
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(kKept), std::string::npos);
        ASSERT_TRUE(store->setDouble("interval", 3));
        EXPECT_EQ(names(), (std::vector<std::string>{"defaults.json", kKept}));
        EXPECT_EQ(fs::file_size(folder() / kKept), text.size()) << "kept whole";
        fs::remove(folder() / kKept);
    }
}

TEST_F(PreferencesAbuseTest, LongArraysWithinTheSizeLimitLoadAndKeepTheirNeighbours) {
    // Thousands of entries where eleven are expected: the first place of each kind wins. Written
    // back indented, this file would be too large to read again.
    std::string order = "[\"memory\"";
    for (int i = 0; i < 5'000; ++i) order += ",\"cpu\",\"nonsense\",7";
    std::string strings = "[\"memory\"";
    for (int i = 0; i < 20'000; ++i) strings += ",\"cpu\"";
    put("{\"statOrder\": " + strings + "], \"enabledStats\": " + order +
        "], \"interval\": 2, \"hasSeenHint\": true}");
    AppSettings settings(open());
    EXPECT_EQ(settings.statOrder()[0], StatKind::memory);
    EXPECT_EQ(settings.statOrder()[1], StatKind::cpu);
    EXPECT_EQ(settings.statOrder().size(), allStatKinds().size());
    EXPECT_EQ(settings.interval(), 2);
    EXPECT_TRUE(settings.hasSeenHint());
    settings.setStripHeight(40);
    AppSettings reloaded(open());
    EXPECT_EQ(reloaded.stripHeight(), 40);
    EXPECT_EQ(reloaded.statOrder(), settings.statOrder());
}

TEST_F(PreferencesAbuseTest, APipeOrALoopingLinkIsUnreadableAndNeverWaitedOn) {
    for (const std::function<void()>& plant : std::vector<std::function<void()>>{
             // Opening a pipe for reading waits for a writer that never comes.
             [&] { ASSERT_EQ(::mkfifo(path().c_str(), 0600), 0); },
             [&] {
                 fs::create_symlink("loop.json", path());
                 fs::create_symlink("defaults.json", folder() / "loop.json");
             },
         }) {
        plant();
        EXPECT_EQ(inChild([&] {
                      std::vector<std::string> warnings;
                      auto store = open(Mode::readWrite, &warnings);
                      if (warnings.size() != 1) return 10;
                      if (store->setBool("hasSeenHint", true)) return 11;  // never replaced
                      return store->boolValue("hasSeenHint") == true ? 0 : 12;
                  }),
                  0);
        EXPECT_TRUE(fs::exists(fs::symlink_status(path()))) << "left where it was";
        for (const auto& entry : fs::directory_iterator(folder())) fs::remove(entry.path());
    }
}

// A real full disk: a 256 KiB tmpfs in a mount namespace of the child's own.
TEST_F(PreferencesAbuseTest, AFullDiskFailsTheWriteAndTheNextWriteStoresEverything) {
    put("{\"stripHeight\": 30}");
    int status = inChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return kChildSkipped;
        }
        std::string before = "{\"stripHeight\": 30}";
        if (::mount("tmpfs", folder().c_str(), "tmpfs", 0, "size=256k,mode=0700") != 0) {
            return kChildSkipped;
        }
        std::ofstream(path()) << before;
        // Fill every block but a few.
        {
            std::ofstream filler(folder() / "filler", std::ios::binary);
            std::string block(4096, 'f');
            while (filler.write(block.data(), block.size())) {
            }
        }
        fs::resize_file(folder() / "filler", fs::file_size(folder() / "filler") - 8192);

        auto store = open();
        const std::string padding(64 * 1024, 'p');
        if (store->setString("padding", padding)) return 10;
        if (store->stringValue("padding") != padding) return 11;
        if (scratch_.read("glintdeck/defaults.json") != before) return 12;
        if (names() != std::vector<std::string>{"defaults.json", "filler"}) return 13;

        fs::remove(folder() / "filler");
        if (!store->setBool("hasSeenHint", true)) return 14;
        auto reopened = open();
        if (reopened->stringValue("padding") != padding) return 15;
        if (reopened->doubleValue("stripHeight") != 30.0) return 16;
        return reopened->boolValue("hasSeenHint") == true ? 0 : 17;
    });
    if (status == kChildSkipped) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace glintdeck
