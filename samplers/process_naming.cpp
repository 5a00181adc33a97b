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

}  // namespace

std::string displayName(std::string_view path, std::string_view command) {
    if (path.empty()) return std::string(command);
    std::vector<std::string_view> components = splitDroppingEmpty(path, '/');
    if (components.empty()) return std::string(command);

    // The outermost *.app folder wins, so every helper inside it carries its name.
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

}  // namespace glintdeck
