#pragma once

#include <array>
#include <string>
#include <string_view>

namespace glintdeck {

// How a process is named in the top-process lists: after the program it runs, so that the
// helpers of one application, or the many workers of one program, add up under one name.

// Path components that say where a program sits rather than which program it is.
inline constexpr std::array<std::string_view, 9> genericPathComponents = {
    "versions", "version", "bin", "sbin", "libexec", "current", "MacOS", "Contents", "Resources"};

// The readable name of a process from its executable path (empty when unreadable) and its
// command text: the outermost folder named *.app, else the service name of a *.appex or *.xpc
// folder, else the innermost component that is neither generic nor a version number, else the
// last component.
[[nodiscard]] std::string displayName(std::string_view path, std::string_view command);

// A reverse-DNS service identifier as words: "com.example.WebContent" reads "Web Content".
[[nodiscard]] std::string serviceName(std::string_view name);

}  // namespace glintdeck
