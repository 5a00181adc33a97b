#include "platform/linux/sysfs_value.h"

#include <charconv>
#include <string_view>

#include "platform/linux/kernel_file.h"

namespace glintdeck {

std::optional<std::string> readSysfsText(const std::string& path) {
    std::optional<std::string> text = readKernelFileOnce(path, kLargestAttribute);
    if (!text || text->empty()) return std::nullopt;  // no first line at all
    std::string_view line = *text;
    line = line.substr(0, line.find('\n'));
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::string();
    size_t last = line.find_last_not_of(" \t\r");
    return std::string(line.substr(first, last - first + 1));
}

std::optional<int64_t> parseSysfsInteger(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int64_t> readSysfsInteger(const std::string& path) {
    std::optional<std::string> text = readSysfsText(path);
    if (!text) return std::nullopt;
    return parseSysfsInteger(*text);
}

}  // namespace glintdeck
