#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace glintdeck {

// What each print writes: the text report, one JSON object per line, or a status bar's own
// protocol (waybar's custom module, i3bar and swaybar).
enum class OutputFormat { text, json, waybar, i3bar };

struct CliOptions {
    bool watch = false;
    OutputFormat format = OutputFormat::text;
    bool help = false;
    bool version = false;
    std::optional<double> interval;  // seconds; overrides the preference for this run
    bool operator==(const CliOptions&) const = default;
};

// Either options or a one-line error naming what was wrong.
struct ParsedOptions {
    std::optional<CliOptions> options;
    std::string error;
};

// Parses the arguments after the program name: --watch, --json (--format json), --format
// FORMAT, --interval SECONDS (each value also as --option=VALUE), --help, --version.
[[nodiscard]] ParsedOptions parseOptions(std::span<const std::string_view> arguments);

[[nodiscard]] std::string_view usageText();
[[nodiscard]] std::string_view versionText();

}  // namespace glintdeck
