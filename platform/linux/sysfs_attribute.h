#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// One-shot reads of small sysfs attributes, for discovery (a supply's type, a device's uevent).
// Attributes read every tick use KernelFile instead, which keeps the descriptor open. Of a file
// larger than a page only the first page is read, as of any attribute (kernel_file.h).

// The attribute's text without its trailing newline and blanks; nothing when unreadable.
[[nodiscard]] std::optional<std::string> readAttribute(const std::string& path);

// The text of an attribute as KernelFile returns it, trimmed of blanks and newlines.
[[nodiscard]] std::string_view trimAttribute(std::string_view text);

// A whole attribute holding one signed decimal integer ("-1250\n"); nothing for anything else.
[[nodiscard]] std::optional<int64_t> parseAttributeInteger(std::string_view text);

}  // namespace glintdeck
