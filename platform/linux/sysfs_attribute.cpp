#include "platform/linux/sysfs_attribute.h"

#include <charconv>

#include "platform/linux/kernel_file.h"

namespace glintdeck {

std::optional<std::string> readAttribute(const std::string& path) {
    std::optional<std::string> text = readKernelFileOnce(path, kLargestAttribute);
    if (!text) return std::nullopt;
    std::string_view trimmed = trimAttribute(*text);
    if (trimmed.empty()) return std::nullopt;
    return std::string(trimmed);
}

std::optional<int64_t> readAttributeInteger(const std::string& path) {
    std::optional<std::string> text = readAttribute(path);
    return text ? parseAttributeInteger(*text) : std::nullopt;
}

std::string_view trimAttribute(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
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
