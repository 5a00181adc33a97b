#include "platform/linux/session/autostart_entry.h"

namespace glintdeck {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::optional<std::string_view> desktopEntryValue(std::string_view text, std::string_view key) {
    bool inMainGroup = false;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        size_t equals = line.find('=');
        if (!inMainGroup || line.starts_with('#') || equals == std::string_view::npos) continue;
        if (trimmed(line.substr(0, equals)) == key) return trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

bool autostartEntryEnabled(std::string_view text) {
    return desktopEntryValue(text, "Hidden") != "true" &&
           desktopEntryValue(text, "X-GNOME-Autostart-enabled") != "false";
}

}  // namespace glintdeck
