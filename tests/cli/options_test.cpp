#include "cli/options.h"

#include <gtest/gtest.h>

#include <ranges>
#include <vector>

namespace glintdeck {
namespace {

// The options of a command line's words, split at spaces.
ParsedOptions parse(std::string_view line) {
    std::vector<std::string_view> words;
    for (auto word : std::views::split(line, ' ')) words.emplace_back(word.begin(), word.end());
    return parseOptions(words);
}

TEST(OptionsTest, AcceptsEveryOptionAndBothValueSpellings) {
    EXPECT_EQ(parse("").options, CliOptions{});
    EXPECT_EQ(parse("--watch --json").options,
              (CliOptions{.watch = true, .format = OutputFormat::json}));
    EXPECT_EQ(parse("--interval 2.5").options, (CliOptions{.interval = 2.5}));
    EXPECT_EQ(parse("--interval=0.25 --json").options,
              (CliOptions{.format = OutputFormat::json, .interval = 0.25}));
    EXPECT_EQ(parse("--help").options, (CliOptions{.help = true}));
    EXPECT_EQ(parse("--version").options, (CliOptions{.version = true}));
    EXPECT_EQ(parse("--format waybar --watch").options,
              (CliOptions{.watch = true, .format = OutputFormat::waybar}));
    EXPECT_EQ(parse("--json --format=i3bar").options, (CliOptions{.format = OutputFormat::i3bar}));
    EXPECT_EQ(parse("--format=json --format text").options, CliOptions{});
}

TEST(OptionsTest, RejectsUnknownOptionsAndUnusableValues) {
    for (const char* arguments :
         {"--wach", "watch", "--interval", "--interval fast", "--interval 1s", "--interval 0",
          "--interval -1", "--interval nan", "--interval inf", "--interval=1e9", "--format",
          "--format xml", "--format=", "--formats=json"}) {
        ParsedOptions parsed = parse(arguments);
        EXPECT_FALSE(parsed.options) << arguments;
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "errors fit on one line";
    }
}

}  // namespace
}  // namespace glintdeck
