#include "core/printable_text.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace glintdeck {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";     // U+2026

// Length of the well-formed UTF-8 sequence at the front of text, or 0 when it is malformed.
size_t sequenceLength(std::string_view text) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

char32_t codePoint(std::string_view sequence) {
    auto byte = [&](size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(sequence[i]));
    };
    switch (sequence.size()) {
        case 1:
            return byte(0);
        case 2:
            return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        case 3:
            return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        default:
            return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
                   (byte(3) & 0x3F);
    }
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

bool isBidiFormatting(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// Nonspacing and enclosing marks (general categories Mn and Me) draw over, under or around the
// character before them, in every script; spacing marks take room of their own and cannot pile.
bool isStackingMark(char32_t c) {
    const auto category = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(c)));
    return category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK;
}

// Drops whole characters from the end until room bytes are free under mostBytes.
void makeRoom(std::string& text, size_t mostBytes, size_t room) {
    while (!text.empty() && text.size() + room > mostBytes) {
        size_t last = text.size() - 1;
        while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
        text.resize(last);
    }
}

}  // namespace

std::string printableText(std::string_view text, size_t mostBytes) {
    std::string result;
    result.reserve(std::min(text.size(), mostBytes));
    int marks = 0;  // combining marks kept after the last other character
    while (!text.empty()) {
        size_t length = sequenceLength(text);
        std::string_view piece = kReplacement;
        if (length == 0) {
            length = 1;
            marks = 0;
        } else {
            char32_t c = codePoint(text.substr(0, length));
            bool mark = isStackingMark(c);
            if (isBidiFormatting(c) || (mark && marks == kMostMarksPerCharacter)) {
                text.remove_prefix(length);
                continue;
            }
            marks = mark ? marks + 1 : 0;
            if (!isControl(c)) piece = text.substr(0, length);
        }
        if (result.size() + piece.size() > mostBytes) {
            // Cut: the ellipsis says so, where it fits.
            if (mostBytes >= kEllipsis.size()) {
                makeRoom(result, mostBytes, kEllipsis.size());
                result.append(kEllipsis);
            }
            return result;
        }
        result.append(piece);
        text.remove_prefix(length);
    }
    return result;
}

}  // namespace glintdeck
