#include "settings/hot_key_binding.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace glintdeck {
namespace {

// Virtual key codes of the ANSI layout that have a name; sorted by code.
constexpr std::array<std::pair<uint32_t, std::string_view>, 58> kKeyNames{{
    {0, "A"},    {1, "S"},    {2, "D"},      {3, "F"},     {4, "H"},     {5, "G"},     {6, "Z"},
    {7, "X"},    {8, "C"},    {9, "V"},      {11, "B"},    {12, "Q"},    {13, "W"},    {14, "E"},
    {15, "R"},   {16, "Y"},   {17, "T"},     {18, "1"},    {19, "2"},    {20, "3"},    {21, "4"},
    {22, "6"},   {23, "5"},   {24, "="},     {25, "9"},    {26, "7"},    {27, "-"},    {28, "8"},
    {29, "0"},   {31, "O"},   {32, "U"},     {34, "I"},    {35, "P"},    {36, "↩"},    {37, "L"},
    {38, "J"},   {40, "K"},   {41, ";"},     {43, ","},    {44, "/"},    {45, "N"},    {46, "M"},
    {47, "."},   {48, "⇥"},   {49, "Space"}, {53, "⎋"},    {96, "F5"},   {97, "F6"},   {98, "F7"},
    {99, "F3"},  {100, "F8"}, {101, "F9"},   {103, "F11"}, {109, "F10"}, {111, "F12"}, {118, "F4"},
    {120, "F2"}, {122, "F1"},
}};
static_assert(std::is_sorted(kKeyNames.begin(), kKeyNames.end()), "keyName searches by code");

}  // namespace

std::string HotKeyBinding::keyName(uint32_t keyCode) {
    auto found =
        std::lower_bound(kKeyNames.begin(), kKeyNames.end(), keyCode,
                         [](const auto& entry, uint32_t code) { return entry.first < code; });
    if (found != kKeyNames.end() && found->first == keyCode) return std::string(found->second);
    return "key " + std::to_string(keyCode);
}

}  // namespace glintdeck
