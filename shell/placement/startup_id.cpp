#include "shell/placement/startup_id.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace glintdeck {

std::string startupRemoveMessage(std::string_view id) {
    std::string message = "remove: ID=";
    if (id.find_first_of(" \"\\") == std::string_view::npos) {
        return message.append(id);
    }
    message.push_back('"');
    for (char c : id) {
        if (c == '"' || c == '\\') {
            message.push_back('\\');
        }
        message.push_back(c);
    }
    message.push_back('"');
    return message;
}

std::vector<std::array<char, 20>> startupMessagePieces(std::string_view message) {
    std::vector<std::array<char, 20>> pieces;
    // The terminating NUL belongs to the message: a message of 20 bytes takes two pieces.
    for (size_t offset = 0; offset <= message.size(); offset += 20) {
        std::array<char, 20> piece{};
        const size_t length = std::min<size_t>(20, message.size() - offset);
        std::memcpy(piece.data(), message.data() + offset, length);
        pieces.push_back(piece);
    }
    return pieces;
}

std::optional<uint32_t> startupTimestamp(std::string_view id) {
    const size_t mark = id.rfind("_TIME");
    if (mark == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = id.substr(mark + 5);
    uint32_t time = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), time);
    if (error != std::errc() || digits.empty() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return time;
}

}  // namespace glintdeck
