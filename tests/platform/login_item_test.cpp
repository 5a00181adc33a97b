#include "platform/linux/login_item.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace glintdeck {
namespace {

class LoginItemTest : public testing::Test {
  protected:
    void SetUp() override {
        home_ = std::filesystem::temp_directory_path() /
                ("glintdeck-login-" + std::to_string(getpid()));
        std::filesystem::create_directories(home_);
    }
    void TearDown() override { std::filesystem::remove_all(home_); }
    std::string entryText(const XdgAutostartLoginItem& item) {
        std::ifstream file(item.entryPath());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path home_;
};

TEST_F(LoginItemTest, EnableWritesAnEntryAndDisableRemovesIt) {
    XdgAutostartLoginItem item("/opt/glintdeck/bin/glintdeck", home_.string());
    EXPECT_FALSE(item.isEnabled());
    ASSERT_TRUE(item.enable().ok);
    EXPECT_TRUE(item.isEnabled());
    std::string text = entryText(item);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=\"/opt/glintdeck/bin/glintdeck\"\n"), std::string::npos);
    EXPECT_TRUE(item.disable().ok);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_TRUE(item.disable().ok) << "disabling twice is not an error";
}

TEST_F(LoginItemTest, HiddenEntriesCountAsDisabled) {
    XdgAutostartLoginItem item("/usr/bin/glintdeck", home_.string());
    std::filesystem::create_directories(home_ / "autostart");
    std::ofstream(item.entryPath()) << "[Desktop Entry]\nExec=glintdeck\nHidden=true\n";
    EXPECT_FALSE(item.isEnabled());
}

TEST_F(LoginItemTest, AnUnwritableFolderFailsWithAReason) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    std::filesystem::permissions(
        home_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    XdgAutostartLoginItem item("/usr/bin/glintdeck", home_.string());
    auto result = item.enable();
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(item.isEnabled());
}

TEST(DesktopEntryExecTest, QuotesAndEscapesReservedCharacters) {
    EXPECT_EQ(desktopEntryExec("/usr/bin/glintdeck"), "\"/usr/bin/glintdeck\"");
    EXPECT_EQ(desktopEntryExec("/home/a b/glintdeck"), "\"/home/a b/glintdeck\"");
    EXPECT_EQ(desktopEntryExec("/x/100%/g"), "\"/x/100%%/g\"");
    EXPECT_EQ(desktopEntryExec("/x/$HOME/\"g\""), "\"/x/\\\\$HOME/\\\\\"g\\\\\"\"");
}

}  // namespace
}  // namespace glintdeck
