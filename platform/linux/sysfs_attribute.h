#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// One-shot reads of small sysfs attributes, for discovery (a chip's name, a supply's type, a
// device's uevent). Attributes read every tick use KernelFile instead, which keeps the descriptor
// open. Of a file larger than a page only the first page is read, as of any attribute
// (kernel_file.h).

// The attribute's text without leading and trailing blanks and newlines; nothing when it is
// absent, unreadable or blank.
[[nodiscard]] std::optional<std::string> readAttribute(const std::string& path);

// An attribute holding one signed decimal integer (trip points below zero are real values).
[[nodiscard]] std::optional<int64_t> readAttributeInteger(const std::string& path);

// The text of an attribute as KernelFile returns it, trimmed of blanks and newlines.
[[nodiscard]] std::string_view trimAttribute(std::string_view text);

// A whole attribute holding one signed decimal integer ("-1250\n"); nothing for anything else.
[[nodiscard]] std::optional<int64_t> parseAttributeInteger(std::string_view text);

}  // namespace glintdeck
