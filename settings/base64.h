#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// Standard base64 (RFC 4648 alphabet, "=" padding), the text form of data values in the
// preferences file.
[[nodiscard]] std::string encodeBase64(const std::vector<uint8_t>& bytes);

// Strict inverse: nothing for a length that is not a multiple of four, a character outside the
// alphabet, misplaced padding or non-zero bits after the last byte.
[[nodiscard]] std::optional<std::vector<uint8_t>> decodeBase64(std::string_view text);

}  // namespace glintdeck
