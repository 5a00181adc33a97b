#include "settings/base64.h"

#include <algorithm>
#include <array>

namespace glintdeck {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> makeDecodeTable() {
    std::array<int8_t, 256> table{};
    table.fill(-1);
    for (size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
    }
    return table;
}

constexpr std::array<int8_t, 256> kDecodeTable = makeDecodeTable();

}  // namespace

std::string encodeBase64(const std::vector<uint8_t>& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t count = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = uint32_t{bytes[i]} << 16;
        if (count > 1) group |= uint32_t{bytes[i + 1]} << 8;
        if (count > 2) group |= bytes[i + 2];
        for (size_t k = 0; k < 4; ++k) {
            text += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return text;
}

std::optional<std::vector<uint8_t>> decodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        size_t padding = 0;
        if (last && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
        uint32_t group = 0;
        for (size_t k = 0; k < 4 - padding; ++k) {
            int8_t value = kDecodeTable[static_cast<uint8_t>(text[i + k])];
            if (value < 0) return std::nullopt;  // also "=" anywhere but the end
            group |= static_cast<uint32_t>(value) << (18 - 6 * k);
        }
        // Bits below the last whole byte must be zero, so every text has one decoding.
        if ((padding == 1 && (group & 0xFF)) || (padding == 2 && (group & 0xFFFF))) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2) bytes.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1) bytes.push_back(static_cast<uint8_t>(group));
    }
    return bytes;
}

}  // namespace glintdeck
