#include "platform/linux/text_scanner.h"

#include <charconv>

namespace glintdeck {
namespace {

template <typename Number>
std::optional<Number> parseFront(std::string_view& text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{}) return std::nullopt;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

}  // namespace

void TextScanner::skipBlanks() {
    size_t start = text_.find_first_not_of(" \t");
    text_.remove_prefix(start == std::string_view::npos ? text_.size() : start);
}

std::optional<uint64_t> TextScanner::readUnsigned() {
    skipBlanks();
    return parseFront<uint64_t>(text_);
}

std::optional<int64_t> TextScanner::readSigned() {
    skipBlanks();
    return parseFront<int64_t>(text_);
}

std::optional<double> TextScanner::readDouble() {
    skipBlanks();
    return parseFront<double>(text_);
}

std::optional<std::string_view> TextScanner::readWord() {
    skipBlanks();
    size_t end = text_.find_first_of(" \t\n");
    if (end == std::string_view::npos) end = text_.size();
    if (end == 0) return std::nullopt;
    std::string_view word = text_.substr(0, end);
    text_.remove_prefix(end);
    return word;
}

bool TextScanner::skipPrefix(std::string_view prefix) {
    skipBlanks();
    if (!text_.starts_with(prefix)) return false;
    text_.remove_prefix(prefix.size());
    return true;
}

void TextScanner::skipLine() {
    size_t newline = text_.find('\n');
    text_.remove_prefix(newline == std::string_view::npos ? text_.size() : newline + 1);
}

}  // namespace glintdeck
