#include "cli/options.h"

#include <charconv>
#include <cmath>

#include "settings/app_settings.h"

namespace glintdeck {
namespace {

constexpr double kShortestInterval = AppSettings::kShortestInterval;
constexpr double kLongestInterval = AppSettings::kLongestInterval;

std::optional<double> parseSeconds(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < kShortestInterval || value > kLongestInterval) {
        return std::nullopt;
    }
    return value;
}

ParsedOptions failure(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions parseOptions(std::span<const std::string_view> arguments) {
    CliOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--watch") {
            options.watch = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--interval" || argument.starts_with("--interval=")) {
            std::string_view value;
            if (argument == "--interval") {
                if (i + 1 == arguments.size())
                    return failure("--interval needs a number of seconds");
                value = arguments[++i];
            } else {
                value = argument.substr(std::string_view("--interval=").size());
            }
            options.interval = parseSeconds(value);
            if (!options.interval) {
                return failure("--interval takes seconds from 0.1 to 86400, not '" +
                               std::string(value) + "'");
            }
        } else {
            return failure("unknown option '" + std::string(argument) + "'");
        }
    }
    return {options, {}};
}

std::string_view usageText() {
    return "usage: glintdeck-stats [--watch] [--json] [--interval SECONDS]\n"
           "\n"
           "Prints this machine's stats as Glintdeck's tiles show them.\n"
           "\n"
           "  --watch             redraw every interval until interrupted\n"
           "  --json              one JSON object per line instead of text\n"
           "  --interval SECONDS  sampling interval for this run (default: the preference)\n"
           "  --help              show this help\n";
}

}  // namespace glintdeck
