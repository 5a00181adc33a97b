// The example configurations under data/ that users paste into their bars: they must keep
// naming options this program accepts, in the format their bar reads.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/options.h"
#include "tests/support/file_text.h"
#include "tests/support/test_paths.h"

namespace glintdeck {
namespace {

std::string read(const std::string& name) {
    return fileText(std::filesystem::path(test_paths::kData) / name);
}

// The options of a command line "glintdeck-stats ARGUMENTS...".
std::optional<CliOptions> commandOptions(const std::string& command) {
    std::istringstream words(command);
    std::string program;
    words >> program;
    EXPECT_EQ(program, "glintdeck-stats");
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    std::vector<std::string_view> views(arguments.begin(), arguments.end());
    return parseOptions(views).options;
}

TEST(StatusBarExamplesTest, TheWaybarModuleRunsTheWaybarFormat) {
    nlohmann::json config = nlohmann::json::parse(read("waybar/config.jsonc"), nullptr,
                                                  /*allow_exceptions=*/true,
                                                  /*ignore_comments=*/true);
    const nlohmann::json& module = config.at("custom/glintdeck");
    EXPECT_EQ(module.at("return-type"), "json");
    EXPECT_EQ(commandOptions(module.at("exec")),
              (CliOptions{.watch = true, .format = OutputFormat::waybar}));
    EXPECT_EQ(config.at("modules-right"), nlohmann::json::array({"custom/glintdeck"}));
}

TEST(StatusBarExamplesTest, TheBarStatusCommandRunsTheI3barFormat) {
    const std::string config = read("i3bar/bar.conf");
    const std::string key = "status_command ";
    size_t start = config.find(key);
    ASSERT_NE(start, std::string::npos);
    start += key.size();
    EXPECT_EQ(commandOptions(config.substr(start, config.find('\n', start) - start)),
              (CliOptions{.watch = true, .format = OutputFormat::i3bar}));
}

}  // namespace
}  // namespace glintdeck
