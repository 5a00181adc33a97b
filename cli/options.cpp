#include "cli/options.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "settings/setting_declarations.h"

namespace glintdeck {
namespace {

constexpr std::array<std::pair<std::string_view, OutputFormat>, 4> kFormats{{
    {"text", OutputFormat::text},
    {"json", OutputFormat::json},
    {"waybar", OutputFormat::waybar},
    {"i3bar", OutputFormat::i3bar},
}};

std::optional<double> parseSeconds(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < setting::interval.lowest ||
        value > setting::interval.highest) {
        return std::nullopt;
    }
    return value;
}

// The shortest text that reads back as seconds: "0.1", "86400".
std::string secondsText(double seconds) {
    std::array<char, 32> text{};
    auto written = std::to_chars(text.data(), text.data() + text.size(), seconds);
    return std::string(text.data(), written.ptr);
}

std::optional<OutputFormat> parseFormat(std::string_view text) {
    for (const auto& [name, format] : kFormats) {
        if (name == text) return format;
    }
    return std::nullopt;
}

ParsedOptions failure(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions parseOptions(std::span<const std::string_view> arguments) {
    CliOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        // The value of an option that takes one, given as "--name VALUE" or "--name=VALUE";
        // nullopt when the argument is not that option.
        std::string_view missing;
        auto valueOf = [&](std::string_view name) -> std::optional<std::string_view> {
            if (argument == name) {
                if (i + 1 == arguments.size()) {
                    missing = name;
                    return std::nullopt;
                }
                return arguments[++i];
            }
            if (argument.starts_with(name) && argument.substr(name.size()).starts_with('=')) {
                return argument.substr(name.size() + 1);
            }
            return std::nullopt;
        };
        if (argument == "--watch") {
            options.watch = true;
        } else if (argument == "--json") {
            options.format = OutputFormat::json;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (auto seconds = valueOf("--interval")) {
            options.interval = parseSeconds(*seconds);
            if (!options.interval) {
                return failure("--interval takes seconds from " +
                               secondsText(setting::interval.lowest) + " to " +
                               secondsText(setting::interval.highest) + ", not '" +
                               std::string(*seconds) + "'");
            }
        } else if (auto name = valueOf("--format")) {
            std::optional<OutputFormat> format = parseFormat(*name);
            if (!format) {
                return failure("--format takes text, json, waybar or i3bar, not '" +
                               std::string(*name) + "'");
            }
            options.format = *format;
        } else if (!missing.empty()) {
            return failure(std::string(missing) + " needs a value");
        } else {
            return failure("unknown option '" + std::string(argument) + "'");
        }
    }
    return {options, {}};
}

std::string_view usageText() {
    return "usage: glintdeck-stats [--watch] [--json | --format FORMAT] [--interval SECONDS]\n"
           "\n"
           "Prints this machine's stats as Glintdeck's tiles show them.\n"
           "\n"
           "  --watch             print again every interval until interrupted\n"
           "  --json              one JSON object per line instead of text\n"
           "  --format FORMAT     text, json, or a status bar's protocol: waybar (a custom\n"
           "                      module with \"return-type\": \"json\"), i3bar (i3bar, swaybar)\n"
           "  --interval SECONDS  how often --watch samples and prints (default: the\n"
           "                      preference); one print always samples over a second\n"
           "  --help              show this help\n"
           "  --version           show the version\n"
           "\n"
           "Settings are read from $XDG_CONFIG_HOME/glintdeck/defaults.json, never written.\n";
}

std::string_view versionText() { return "glintdeck-stats " GLINTDECK_VERSION "\n"; }

}  // namespace glintdeck
