#include "platform/linux/session/xdg_autostart_login_item.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/linux/session/autostart_entry.h"
#include "tests/support/scratch_folder.h"

namespace glintdeck {
namespace {

namespace fs = std::filesystem;

class LoginItemTest : public testing::Test {
  protected:
    std::string entryText(const XdgAutostartLoginItem& item) const {
        return scratch_.read(item.entryPath());
    }

    ScratchFolder scratch_;
    const fs::path& home_ = scratch_.path();
    XdgAutostartLoginItem item_{"/usr/bin/glintdeck", home_.string()};
};

TEST_F(LoginItemTest, EnableWritesAnEntryAndDisableRemovesIt) {
    EXPECT_FALSE(item_.isEnabled());
    ASSERT_TRUE(item_.enable().ok);
    EXPECT_TRUE(item_.isEnabled());
    std::string text = entryText(item_);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=\"/usr/bin/glintdeck\"\n"), std::string::npos);
    // Desktops skip an entry whose TryExec= program is gone, as after the package's removal.
    EXPECT_NE(text.find("\nTryExec=/usr/bin/glintdeck\n"), std::string::npos);
    EXPECT_TRUE(item_.disable().ok);
    EXPECT_FALSE(item_.isEnabled());
    EXPECT_TRUE(item_.disable().ok) << "disabling twice is not an error";
}

// The entry a session manager reads passes the desktop's own validator, however odd the path of
// the program: quoting and escaping in Exec= are where an entry goes wrong.
TEST_F(LoginItemTest, EntriesPassDesktopFileValidate) {
    if (std::system("command -v desktop-file-validate >/dev/null") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/install-deps --tests)";
    }
    for (const char* program : {"/usr/bin/glintdeck", "/opt/glint deck/bin/glintdeck",
                                "/home/a\"b/$x`y`\\z%/glintdeck"}) {
        XdgAutostartLoginItem item(program, home_.string());
        ASSERT_TRUE(item.enable().ok);
        const std::string report = (home_ / "validate.out").string();
        const int status = std::system(
            ("desktop-file-validate '" + item.entryPath() + "' >'" + report + "' 2>&1").c_str());
        EXPECT_EQ(status, 0) << program << ": " << scratch_.read(report);
        EXPECT_EQ(scratch_.read(report), "") << program;
    }
}

TEST(AutostartEntryTest, EntriesDesktopsWouldSkipCountAsDisabled) {
    const std::pair<const char*, bool> cases[] = {
        {"[Desktop Entry]\nExec=glintdeck\n", true},
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\nHidden = true\n", false},
        {"[Desktop Entry]\r\nHidden\t=\ttrue \r\n", false},
        {"[Desktop Entry]\nHidden=false\n", true},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled = false", false},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n", true},
        {"[Desktop Entry]\n# Hidden=true\n", true},
        {"[Desktop Entry]\nHiddenness=true\n", true},
        // Keys of another group are that group's own.
        {"[Desktop Entry]\nExec=glintdeck\n[Desktop Action quit]\nHidden=true\n", true},
    };
    for (const auto& [text, enabled] : cases) {
        EXPECT_EQ(autostartEntryEnabled(text), enabled) << text;
    }
}

// A link planted at the entry would have us write, or parse, whatever it points to.
TEST_F(LoginItemTest, APlantedLinkIsNeverFollowedNorRemoved) {
    const auto own = home_ / "own-file";
    const std::string text = "[Desktop Entry]\nExec=something-else\n";
    std::ofstream(own) << text;
    fs::create_directories(home_ / "autostart");
    fs::create_symlink(own, item_.entryPath());

    EXPECT_FALSE(item_.isEnabled());
    for (const LoginItem::Result& result : {item_.enable(), item_.disable()}) {
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("symbolic link"), std::string::npos) << result.error;
    }
    EXPECT_EQ(fs::read_symlink(item_.entryPath()), own);
    EXPECT_EQ(scratch_.read(own), text);
}

TEST_F(LoginItemTest, AnUnwritableFolderFailsWithAReason) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    fs::permissions(home_, fs::perms::owner_read | fs::perms::owner_exec);
    auto result = item_.enable();
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(item_.isEnabled());
}

// An entry under the name earlier versions used starts the program at login as before, under
// the new name; with both present, only the new one stays, so the program never starts twice.
TEST_F(LoginItemTest, LegacyEntryMovesToTheApplicationIdName) {
    struct Case {
        const char* name;
        const char* legacy;   // nullptr: none
        const char* current;  // nullptr: none
        const char* expected;
    };
    const Case cases[] = {
        {"moved with its Hidden= kept", "Exec=a\nHidden=true\n", nullptr, "Exec=a\nHidden=true\n"},
        {"current one wins", "Exec=old\n", "Exec=new\n", "Exec=new\n"},
        {"nothing to move", nullptr, nullptr, nullptr},
    };
    const fs::path legacy = home_ / "autostart" / "glintdeck.desktop";
    EXPECT_EQ(fs::path(item_.entryPath()).filename(), "org.glintdeck.Glintdeck.desktop");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(home_ / "autostart");
        fs::create_directories(home_ / "autostart");
        if (c.legacy) std::ofstream(legacy) << c.legacy;
        if (c.current) std::ofstream(item_.entryPath()) << c.current;
        EXPECT_TRUE(item_.migrateLegacyEntry().ok);
        EXPECT_FALSE(fs::exists(legacy));
        if (c.expected) {
            EXPECT_EQ(entryText(item_), c.expected);
        } else {
            EXPECT_FALSE(fs::exists(item_.entryPath()));
        }
    }
}

// Regression: with a regular old entry and a dangling link at the new name, the old entry was
// deleted and the program no longer started at login. A link at either name stays as it is, the
// old entry with it, and the migration says why.
TEST_F(LoginItemTest, LegacyMigrationLeavesLinksAloneAndSaysSo) {
    const fs::path legacy = home_ / "autostart" / "glintdeck.desktop";
    const fs::path current = item_.entryPath();
    const fs::path target = home_ / "elsewhere.desktop";
    struct Case {
        const char* name;
        fs::path link;  // the name a link stands at; the other holds an entry
        bool targetExists;
    };
    for (const Case& c :
         {Case{"dangling link at the new name", current, false},
          Case{"link at the new name", current, true}, Case{"old entry is a link", legacy, true}}) {
        SCOPED_TRACE(c.name);
        fs::remove_all(home_ / "autostart");
        fs::remove(target);
        fs::create_directories(home_ / "autostart");
        if (c.targetExists) std::ofstream(target) << "Exec=mine\n";
        fs::create_symlink(target, c.link);
        if (c.link == current) std::ofstream(legacy) << "Exec=old\n";

        LoginItem::Result result = item_.migrateLegacyEntry();
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.link.string() + " is a symbolic link"), std::string::npos)
            << result.error;
        EXPECT_EQ(fs::read_symlink(c.link), target);
        if (c.link == current) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(legacy)));
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(current)));
        }
    }
}

// An entry of an earlier version, without TryExec=, gains it at the next start, so that removing
// the package no longer leaves it running a missing program at every login.
TEST_F(LoginItemTest, AnEnabledEntryOfThisProgramGainsTryExec) {
    const std::string ours = "[Desktop Entry]\nExec=\"/usr/bin/glintdeck\"\n";
    // The entry, and whether it is written again.
    const std::pair<std::string, bool> cases[] = {{ours, true},
                                                  {ours + "Hidden=true\n", false},
                                                  {"[Desktop Entry]\nExec=\"/opt/g\"\n", false},
                                                  {ours + "TryExec = /usr/bin/glintdeck\n", false}};
    EXPECT_TRUE(item_.addMissingTryExec().ok) << "no entry";
    fs::create_directories(home_ / "autostart");
    for (const auto& [text, rewritten] : cases) {
        std::ofstream(item_.entryPath()) << text;
        EXPECT_TRUE(item_.addMissingTryExec().ok);
        EXPECT_EQ(entryText(item_) != text, rewritten) << text;
        EXPECT_EQ(entryText(item_).find("\nTryExec=/usr/bin/glintdeck\n") != std::string::npos,
                  rewritten)
            << text;
    }
}

TEST(DesktopEntryExecTest, QuotesAndEscapesReservedCharacters) {
    EXPECT_EQ(desktopEntryExec("/usr/bin/glintdeck"), "\"/usr/bin/glintdeck\"");
    EXPECT_EQ(desktopEntryExec("/home/a b/glintdeck"), "\"/home/a b/glintdeck\"");
    EXPECT_EQ(desktopEntryExec("/x/100%/g"), "\"/x/100%%/g\"");
    EXPECT_EQ(desktopEntryExec("/x/$HOME/\"g\""), "\"/x/\\\\$HOME/\\\\\"g\\\\\"\"");
    // A line break would end the entry's line and start a key of the path's choosing.
    EXPECT_EQ(desktopEntryExec("/x/a\nHidden=true"), "\"/x/a\\nHidden=true\"");
}

}  // namespace
}  // namespace glintdeck
