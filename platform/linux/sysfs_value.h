#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glintdeck {

// One-off reads of small sysfs attributes, for discovery: files read every tick go through
// KernelFile instead. Absent, unreadable and malformed files all read as nothing; of a larger
// one only the first page is read, as of any attribute (kernel_file.h).

// The first line without its newline and surrounding blanks.
[[nodiscard]] std::optional<std::string> readSysfsText(const std::string& path);

// A decimal integer, possibly negative (trip points below zero are real values).
[[nodiscard]] std::optional<int64_t> readSysfsInteger(const std::string& path);

// Parses text holding one decimal integer and an optional trailing newline, as every numeric
// sysfs attribute is; anything else reads as nothing.
[[nodiscard]] std::optional<int64_t> parseSysfsInteger(std::string_view text);

}  // namespace glintdeck
