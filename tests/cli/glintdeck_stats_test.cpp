// Runs the real glintdeck-stats program against this machine, with its own home folder.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace glintdeck {
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
};

class GlintdeckStatsTest : public testing::Test {
  protected:
    void SetUp() override {
        home_ = std::filesystem::temp_directory_path() /
                ("glintdeck-stats-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(home_ / "glintdeck");
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    // Standard output and exit code of the program with these arguments; standard error goes
    // to a file so tests can check it.
    ProgramRun run(const std::string& arguments) {
        std::string command = "XDG_CONFIG_HOME='" + home_.string() + "' " +
                              GLINTDECK_STATS_PROGRAM + " " + arguments + " 2>'" +
                              (home_ / "stderr").string() + "'";
        ProgramRun result;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 4096> buffer{};
        size_t count;
        while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
            result.out.append(buffer.data(), count);
        }
        int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    std::string read(const std::filesystem::path& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path home_;
};

TEST_F(GlintdeckStatsTest, JsonTilesFollowThePreferencesAndMatchTheTextReport) {
    const std::string preferences =
        R"({"enabledStats": ["uptime", "cpu", "loadAverage"], "statOrder": ["uptime", "cpu",)"
        R"( "memory", "disk", "network", "battery", "gpu", "fan", "power", "temps",)"
        R"( "loadAverage"], "knownStats": ["cpu", "memory", "disk", "network", "battery", "gpu",)"
        R"( "fan", "power", "temps", "loadAverage", "uptime"], "unknownKey": 1})";
    std::ofstream(home_ / "glintdeck" / "defaults.json") << preferences;
    auto written = std::filesystem::last_write_time(home_ / "glintdeck" / "defaults.json");

    ProgramRun json = run("--json --interval 0.2");
    ASSERT_EQ(json.exitCode, 0);
    nlohmann::json line = nlohmann::json::parse(json.out);
    std::vector<std::string> kinds;
    for (const auto& tile : line["tiles"]) kinds.push_back(tile["kind"]);
    EXPECT_EQ(kinds, (std::vector<std::string>{"uptime", "cpu", "loadAverage"}));
    EXPECT_GT(line["samples"]["uptime"]["seconds"].get<double>(), 0);
    double cpu = line["samples"]["cpu"]["totalUsagePercent"];
    EXPECT_GE(cpu, 0);
    EXPECT_LE(cpu, 100);
    EXPECT_FALSE(line["samples"]["battery"]["isPresent"].get<bool>() &&
                 line["samples"]["battery"]["percent"].get<double>() > 100);

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

    EXPECT_EQ(read(home_ / "glintdeck" / "defaults.json"), preferences) << "never written";
    EXPECT_EQ(std::filesystem::last_write_time(home_ / "glintdeck" / "defaults.json"), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home_ / "glintdeck"),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary or corrupt-copy files either";
}

TEST_F(GlintdeckStatsTest, ACorruptPreferencesFileIsLeftExactlyWhereItIs) {
    std::ofstream(home_ / "glintdeck" / "defaults.json") << "{not json";
    EXPECT_EQ(run("--json --interval 0.2").exitCode, 0);
    EXPECT_EQ(read(home_ / "glintdeck" / "defaults.json"), "{not json");
}

// Output that cannot be written (a full disk) used to end with status 0, or, with --watch, never.
TEST_F(GlintdeckStatsTest, OutputThatCannotBeWrittenEndsTheRunWithOneLineSayingSo) {
    for (const char* arguments :
         {"--interval 0.2", "--json --interval 0.2", "--watch --interval 0.2",
          "--watch --json --interval 0.2", "--help"}) {
        ProgramRun full = run(std::string(arguments) + " >/dev/full");
        EXPECT_EQ(full.exitCode, 1) << arguments;
        std::string error = read(home_ / "stderr");
        EXPECT_TRUE(error.starts_with("glintdeck-stats: cannot write the output: ")) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    }
}

TEST_F(GlintdeckStatsTest, BadOptionsExitWithTwoAndTheUsage) {
    for (const char* arguments : {"--bogus", "--interval", "--interval 0", "--interval abc"}) {
        ProgramRun bad = run(arguments);
        EXPECT_EQ(bad.exitCode, 2) << arguments;
        EXPECT_TRUE(bad.out.empty());
        std::string error = read(home_ / "stderr");
        EXPECT_TRUE(error.starts_with("glintdeck-stats: ")) << error;
        EXPECT_NE(error.find("usage: glintdeck-stats"), std::string::npos);
    }
    ProgramRun help = run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("usage: "));
}

}  // namespace
}  // namespace glintdeck
