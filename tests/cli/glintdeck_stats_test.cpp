// Runs the real glintdeck-stats program against this machine, with its own home folder.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/scratch_folder.h"
#include "tests/support/test_paths.h"

namespace glintdeck {
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
};

class GlintdeckStatsTest : public testing::Test {
  protected:
    // The program's exit code, and its standard output as the reader command passes it on,
    // started through launcher when one is given; standard error goes to a file so tests can
    // check it.
    ProgramRun run(const std::string& arguments, const std::string& reader = "cat",
                   const std::string& launcher = "") {
        const std::string home = home_.root();
        const std::string command = "{ XDG_CONFIG_HOME='" + home + "' " + launcher + " " +
                                    test_paths::kStatsProgram + " " + arguments + " 2>'" + home +
                                    "/stderr'; echo $? >'" + home + "/status'; } | " + reader +
                                    " >'" + home + "/stdout'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return {std::stoi(home_.read("status")), home_.read("stdout")};
    }

    ScratchFolder home_;
};

TEST_F(GlintdeckStatsTest, JsonTilesFollowThePreferencesAndMatchTheTextReport) {
    const std::string preferences =
        R"({"enabledStats": ["uptime", "cpu", "loadAverage"], "statOrder": ["uptime", "cpu",)"
        R"( "memory", "disk", "network", "battery", "gpu", "fan", "power", "temps",)"
        R"( "loadAverage"], "knownStats": ["cpu", "memory", "disk", "network", "battery", "gpu",)"
        R"( "fan", "power", "temps", "loadAverage", "uptime"], "unknownKey": 1})";
    home_.write("glintdeck/defaults.json", preferences);
    auto written = std::filesystem::last_write_time(home_.path() / "glintdeck/defaults.json");

    ProgramRun json = run("--json --interval 0.2");
    ASSERT_EQ(json.exitCode, 0);
    nlohmann::json line = nlohmann::json::parse(json.out);
    std::vector<std::string> kinds;
    for (const auto& tile : line["tiles"]) kinds.push_back(tile["kind"]);
    EXPECT_EQ(kinds, (std::vector<std::string>{"uptime", "cpu", "loadAverage"}));
    EXPECT_GT(line["samples"]["uptime"]["seconds"].get<double>(), 0) << "this machine's samples";

    ProgramRun text = run("--interval 0.2");
    ASSERT_EQ(text.exitCode, 0);
    size_t position = 0;
    for (const auto& tile : line["tiles"]) {
        position = text.out.find(tile["title"].get<std::string>(), position);
        EXPECT_NE(position, std::string::npos) << tile["title"] << " in the text, in order";
        for (const auto& row : tile["detail"]) {
            EXPECT_NE(text.out.find(row[0].get<std::string>()), std::string::npos);
        }
    }

    EXPECT_EQ(home_.read("glintdeck/defaults.json"), preferences) << "never written";
    EXPECT_EQ(std::filesystem::last_write_time(home_.path() / "glintdeck/defaults.json"), written);
    EXPECT_EQ(home_.names("glintdeck"), std::vector<std::string>{"defaults.json"})
        << "no temporary or corrupt-copy files either";
}

// Regression: a one-shot run waited two stored intervals before printing, 40 s at the settings
// slider's longest interval and two days at a stored day. A corrupt preferences file is left
// exactly where it is.
TEST_F(GlintdeckStatsTest, AOneShotRunAnswersAtOnceWhateverThePreferences) {
    for (const auto& [preferences, arguments] : std::vector<std::pair<std::string, std::string>>{
             {R"({"interval": 20})", "--json"},
             {R"({"interval": 20})", "--json --interval 86400"},
             {"{not json", "--json"},
         }) {
        home_.write("glintdeck/defaults.json", preferences);
        const auto started = std::chrono::steady_clock::now();
        ProgramRun json = run(arguments, "cat", "timeout 10");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        EXPECT_LT(took.count(), 3) << arguments;
        ASSERT_EQ(json.exitCode, 0) << arguments;
        EXPECT_FALSE(nlohmann::json::parse(json.out)["tiles"].empty()) << arguments;
        EXPECT_EQ(home_.names("glintdeck"), std::vector<std::string>{"defaults.json"});
        EXPECT_EQ(home_.read("glintdeck/defaults.json"), preferences);
    }
}

// Output that cannot be written (a full disk) used to end with status 0, or, with --watch, never;
// a reader that closed the pipe (head, a bar restarting) ended it by SIGPIPE, 141, without a word.
TEST_F(GlintdeckStatsTest, OutputThatCannotBeWrittenEndsTheRunWithOneLineSayingSo) {
    auto expectOneLineSayingSo = [&](const ProgramRun& failed, const std::string& what) {
        EXPECT_EQ(failed.exitCode, 1) << what;
        std::string error = home_.read("stderr");
        EXPECT_TRUE(error.starts_with("glintdeck-stats: cannot write the output: ")) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    };
    for (const char* arguments : {"--interval 0.2", "--json --interval 0.2",
                                  "--watch --interval 0.2", "--watch --json --interval 0.2",
                                  "--help", "--version", "--format i3bar --interval 0.2"}) {
        expectOneLineSayingSo(run(std::string(arguments) + " >/dev/full"), arguments);
    }
    expectOneLineSayingSo(run("--watch --json --interval 0.1", "head -n 1"), "a closed pipe");
    EXPECT_EQ(run("--interval 0.2", "head -n 1").exitCode, 0) << "a report taken whole";
}

// What a line holds is status_bar_lines_test's; here, one line a tick as the bars read them:
// Waybar one module object; i3bar the header, the opening bracket, then one array of blocks per
// tick, each after the first led by a comma.
TEST_F(GlintdeckStatsTest, TheBarFormatsPrintOneLineATickAsTheirBarsReadIt) {
    auto firstLines = [&](const std::string& format, size_t count) {
        std::vector<std::string> result;
        std::istringstream printed(
            run("--watch --interval 0.1 --format " + format, "head -n " + std::to_string(count))
                .out);
        for (std::string line; std::getline(printed, line);) result.push_back(line);
        EXPECT_EQ(result.size(), count) << format;
        return result;
    };
    for (const std::string& line : firstLines("waybar", 3)) {
        EXPECT_TRUE(nlohmann::json::parse(line)["text"].is_string()) << line;
    }
    std::vector<std::string> i3bar = firstLines("i3bar", 5);
    ASSERT_EQ(i3bar.size(), 5u);
    EXPECT_EQ(nlohmann::json::parse(i3bar[0]), (nlohmann::json{{"version", 1}}));
    EXPECT_EQ(i3bar[1], "[");
    for (size_t i = 2; i < i3bar.size(); ++i) {
        std::string line = i3bar[i];
        if (i > 2) {
            ASSERT_TRUE(line.starts_with(',')) << line;
            line.erase(0, 1);
        }
        nlohmann::json blocks = nlohmann::json::parse(line);
        EXPECT_TRUE(blocks.is_array() && !blocks.empty()) << line;
    }
}

TEST_F(GlintdeckStatsTest, BadOptionsExitWithTwoAndTheUsage) {
    // Which options are bad is options_test's.
    ProgramRun bad = run("--interval 0");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.empty());
    const std::string error = home_.read("stderr");
    EXPECT_TRUE(error.starts_with("glintdeck-stats: ")) << error;
    EXPECT_NE(error.find("usage: glintdeck-stats"), std::string::npos);
    ProgramRun help = run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("usage: "));
    ProgramRun version = run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("glintdeck-stats ")) << version.out;
}

}  // namespace
}  // namespace glintdeck
