#include "samplers/process_naming.h"

#include <algorithm>
#include <vector>

namespace glintdeck {
namespace {

std::vector<std::string_view> splitDroppingEmpty(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        size_t end = text.find(separator);
        std::string_view part = text.substr(0, end);
        if (!part.empty()) parts.push_back(part);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return parts;
}

bool isVersionLike(std::string_view component) {
    bool digit = false;
    for (char c : component) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '.') {
            return false;
        }
    }
    return digit;
}

bool isGeneric(std::string_view component) {
    return std::find(genericPathComponents.begin(), genericPathComponents.end(), component) !=
           genericPathComponents.end();
}

bool isUppercase(char c) { return c >= 'A' && c <= 'Z'; }

// Length of the well-formed UTF-8 sequence at the front of text, or 0 when it is malformed
// (overlong forms, surrogates and code points past U+10FFFF included).
size_t utf8SequenceLength(std::string_view text) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string displayName(std::string_view path, std::string_view command) {
    if (path.empty()) return std::string(command);
    std::vector<std::string_view> components = splitDroppingEmpty(path, '/');
    if (components.empty()) return std::string(command);

    // The outermost bundle wins, so every helper inside an application carries its name.
    for (std::string_view component : components) {
        if (component.ends_with(".app")) {
            return std::string(component.substr(0, component.size() - 4));
        }
    }
    for (std::string_view component : components) {
        if (component.ends_with(".appex")) {
            return serviceName(component.substr(0, component.size() - 6));
        }
        if (component.ends_with(".xpc")) {
            return serviceName(component.substr(0, component.size() - 4));
        }
    }
    // The first component is never the name: it is where programs are kept (/usr, /opt).
    for (size_t i = components.size() - 1; i >= 1; --i) {
        if (!isVersionLike(components[i]) && !isGeneric(components[i])) {
            return std::string(components[i]);
        }
    }
    return std::string(components.back());
}

std::string serviceName(std::string_view name) {
    std::vector<std::string_view> parts = splitDroppingEmpty(name, '.');
    std::string_view last = parts.empty() ? name : parts.back();
    std::string words;
    words.reserve(last.size() + 4);
    for (char c : last) {
        // Runs of capitals stay together: "XPCService", not "X P C Service".
        if (isUppercase(c) && !words.empty() && !isUppercase(words.back())) words.push_back(' ');
        words.push_back(c);
    }
    return words.empty() ? std::string(name) : words;
}

std::string printableName(std::string_view text) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        size_t length = utf8SequenceLength(text);
        unsigned char c = static_cast<unsigned char>(text[0]);
        if (length == 0) {
            result.append(kReplacement);
            text.remove_prefix(1);
        } else if ((length == 1 && (c < 0x20 || c == 0x7F)) ||
                   (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0)) {
            // Control characters (C0, DEL and C1): a name carrying escape sequences or newlines
            // must not reach a terminal or a line-based output as such.
            result.append(kReplacement);
            text.remove_prefix(length);
        } else {
            result.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return result;
}

}  // namespace glintdeck
