// The preferences file as others may leave it: enormous, nested without end, a pipe, a folder,
// a link to nowhere or to itself. The program must start at once with whatever it can keep, never
// crash, keep every value the user set and never destroy the file it found.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
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
    for (const std::string& text : {
             // 50 MB: never read, only renamed
             "{\"interval\": 2, \"padding\": \"" + std::string(50 << 20, 'x') + "\"}",
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

TEST_F(PreferencesAbuseTest, APipeALoopingLinkOrAFolderIsUnreadableAndNeverWaitedOn) {
    for (const std::function<void()>& plant : std::vector<std::function<void()>>{
             [&] { fs::create_directories(path()); },
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

}  // namespace
}  // namespace glintdeck
