#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace glintdeck {

struct CliOptions {
    bool watch = false;
    bool json = false;
    bool help = false;
    std::optional<double> interval;  // seconds; overrides the preference for this run
    bool operator==(const CliOptions&) const = default;
};

// Either options or a one-line error naming what was wrong.
struct ParsedOptions {
    std::optional<CliOptions> options;
    std::string error;
};

// Parses the arguments after the program name: --watch, --json, --interval SECONDS (or
// --interval=SECONDS), --help.
[[nodiscard]] ParsedOptions parseOptions(std::span<const std::string_view> arguments);

[[nodiscard]] std::string_view usageText();

}  // namespace glintdeck
