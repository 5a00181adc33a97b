#include "platform/linux/sysfs_attribute.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace glintdeck {

std::optional<std::string> readAttribute(const std::string& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return std::string(trimAttribute(text.str()));
}

std::string_view trimAttribute(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<int64_t> parseAttributeInteger(std::string_view text) {
    text = trimAttribute(text);
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace glintdeck
