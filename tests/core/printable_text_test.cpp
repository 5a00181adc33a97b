#include "core/printable_text.h"

#include <gtest/gtest.h>

#include <string>

namespace glintdeck {
namespace {

const std::string kFFFD = "\xEF\xBF\xBD";
const std::string kEllipsis = "\xE2\x80\xA6";

bool isValidUtf8(const std::string& text) { return printableText(text, text.size()) == text; }

TEST(PrintableTextTest, NamesFromOutsideAreMadeSafeToShow) {
    for (const auto& [text, expected] : std::vector<std::pair<std::string, std::string>>{
             {"firefox", "firefox"},
             {"caf\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x98\x80",
              "caf\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x98\x80"},
             // a terminal escape and a newline planted in a name; C1's CSI; tab and DEL
             {"\x1B[2Jevil\n", kFFFD + "[2Jevil" + kFFFD},
             {"csi\xC2\x9B", "csi" + kFFFD},
             {"a\tb\x7F", "a" + kFFFD + "b" + kFFFD},
             // line and paragraph separators end a line in JSON readers and some views
             {"a\xE2\x80\xA8z\xE2\x80\xA9", "a" + kFFFD + "z" + kFFFD},
             // bytes that are not UTF-8: a stray continuation, a cut sequence, an overlong
             // slash, a surrogate, a code point past U+10FFFF, bytes that never occur
             {"a\x80z", "a" + kFFFD + "z"},
             {"cut\xE2\x9C", "cut" + kFFFD + kFFFD},
             {"\xC0\xAF", kFFFD + kFFFD},
             {"\xED\xA0\x80", kFFFD + kFFFD + kFFFD},
             {"\xF4\x90\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD},
             {"\xFE\xFF", kFFFD + kFFFD},
             {std::string("nul\0inside", 10), "nul" + kFFFD + "inside"},
             // bidirectional overrides, isolates and marks reorder what follows: removed
             {"evil\xE2\x80\xAEgpj.exe", "evilgpj.exe"},
             {"\xE2\x81\xA6x\xE2\x81\xA9\xE2\x80\x8E\xE2\x80\x8F\xD8\x9C", "x"},
             {"\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD\xE2\x81\xA7\xE2\x81\xA8", ""},
             // right-to-left letters themselves are text, and stay
             {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"},
         }) {
        EXPECT_EQ(printableText(text), expected) << text;
    }
}

std::string repeated(const std::string& unit, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += unit;
    return text;
}

// A "Z" with a hundred accents drew over the card rows around it.
TEST(PrintableTextTest, PilesOfCombiningMarksAreCutToAFewPerCharacter) {
    const std::string acute = "\xCC\x81", dotBelow = "\xCC\xA3", circumflex = "\xCC\x82";
    const std::string thaiMark = "\xE0\xB9\x89", hebrewPoint = "\xD6\xB8";
    for (const auto& [text, expected] : std::vector<std::pair<std::string, std::string>>{
             {"Z" + repeated(acute, 100), "Z" + repeated(acute, kMostMarksPerCharacter)},
             {"Z" + repeated(acute, 100) + "a" + repeated(dotBelow, 50) + "lgo",
              "Z" + repeated(acute, kMostMarksPerCharacter) + "a" +
                  repeated(dotBelow, kMostMarksPerCharacter) + "lgo"},
             {"\xE0\xB8\x81" + repeated(thaiMark, 30),
              "\xE0\xB8\x81" + repeated(thaiMark, kMostMarksPerCharacter)},
             {repeated(acute, 9), repeated(acute, kMostMarksPerCharacter)},
             // spacing marks (Mc) take room of their own and stay: a Devanagari vowel sign
             {"\xE0\xA4\x95" + repeated("\xE0\xA4\xBE", 6),
              "\xE0\xA4\x95" + repeated("\xE0\xA4\xBE", 6)},
             // the marks real words carry stay: Vietnamese, decomposed French, pointed Hebrew
             {"Vie" + dotBelow + circumflex + "t", "Vie" + dotBelow + circumflex + "t"},
             {"cafe" + acute + "e" + acute, "cafe" + acute + "e" + acute},
             {"\xD7\xA9" + hebrewPoint + "\xD7\x9C", "\xD7\xA9" + hebrewPoint + "\xD7\x9C"},
             // a replaced byte is a character of its own
             {"Z" + repeated(acute, 4) + "\x01" + repeated(acute, 5),
              "Z" + repeated(acute, 4) + kFFFD + repeated(acute, 4)},
         }) {
        EXPECT_EQ(printableText(text), expected) << text;
    }
    // Marks of every block count, by their Unicode category: Arabic, Vedic, Tibetan, an
    // enclosing Cyrillic sign, a supplementary-plane musical mark.
    for (const std::string mark :
         {"\xE0\xA3\xB0", "\xE1\xB3\x90", "\xE0\xBD\xB1", "\xEA\x99\xB0", "\xF0\x9D\x85\xA7"}) {
        EXPECT_EQ(printableText("Y" + repeated(mark, 80)),
                  "Y" + repeated(mark, kMostMarksPerCharacter))
            << mark;
    }
}

TEST(PrintableTextTest, LongTextIsCutBetweenCharactersWithAnEllipsis) {
    EXPECT_EQ(printableText(std::string(256, 'a')), std::string(256, 'a'));
    EXPECT_EQ(printableText(std::string(257, 'a')), std::string(253, 'a') + kEllipsis);
    EXPECT_EQ(printableText("abcdef", 5), "ab" + kEllipsis);
    EXPECT_EQ(printableText("abcdef", 2), "ab");

    // Thousands of characters of every width: never longer than the cap, always valid, and
    // never a sequence cut in half.
    for (const std::string unit : {"\xC3\xA9", "\xE2\x9C\x93", "\xF0\x9F\x98\x80", "\x01"}) {
        for (size_t most : {size_t{3}, size_t{7}, size_t{64}, kMostNameBytes}) {
            std::string shown = printableText(repeated(unit, 5000), most);
            EXPECT_LE(shown.size(), most) << most;
            EXPECT_TRUE(shown.ends_with(kEllipsis)) << most;
            EXPECT_TRUE(isValidUtf8(shown)) << most;
        }
    }

    // Removed characters take no room.
    const std::string marks = repeated("\xE2\x80\x8F", 1000);
    EXPECT_EQ(printableText(marks + "name" + marks), "name");
}

}  // namespace
}  // namespace glintdeck
