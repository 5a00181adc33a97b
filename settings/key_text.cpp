#include "settings/key_text.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace glintdeck {
namespace {

constexpr std::array<std::pair<uint32_t, std::string_view>, 4> kModifierNames{{
    {HotKeyBinding::control, "Ctrl"},
    {HotKeyBinding::option, "Alt"},
    {HotKeyBinding::shift, "Shift"},
    {HotKeyBinding::command, "Super"},
}};

// Keys whose name differs from the stored format's (which writes ↩, ⇥ and ⎋) or that it does not
// name at all; sorted by code. Keypad keys are written the way Qt and KDE write them.
constexpr std::array<std::pair<uint32_t, std::string_view>, 48> kLinuxKeyNames{{
    {10, "<"},           {30, "]"},       {33, "["},     {36, "Return"},     {39, "'"},
    {42, "\\"},          {48, "Tab"},     {50, "`"},     {51, "Backspace"},  {53, "Esc"},
    {64, "F17"},         {65, "Num+."},   {67, "Num+*"}, {69, "Num++"},      {72, "Volume Up"},
    {73, "Volume Down"}, {74, "Mute"},    {75, "Num+/"}, {76, "Num+Enter"},  {78, "Num+-"},
    {79, "F18"},         {80, "F19"},     {81, "Num+="}, {82, "Num+0"},      {83, "Num+1"},
    {84, "Num+2"},       {85, "Num+3"},   {86, "Num+4"}, {87, "Num+5"},      {88, "Num+6"},
    {89, "Num+7"},       {90, "F20"},     {91, "Num+8"}, {92, "Num+9"},      {105, "F13"},
    {106, "F16"},        {107, "F14"},    {113, "F15"},  {114, "Insert"},    {115, "Home"},
    {116, "Page Up"},    {117, "Delete"}, {119, "End"},  {121, "Page Down"}, {123, "Left"},
    {124, "Right"},      {125, "Down"},   {126, "Up"},
}};
static_assert(std::is_sorted(kLinuxKeyNames.begin(), kLinuxKeyNames.end()),
              "keyText searches by code");

}  // namespace

std::string keyText(uint32_t keyCode) {
    auto found =
        std::lower_bound(kLinuxKeyNames.begin(), kLinuxKeyNames.end(), keyCode,
                         [](const auto& entry, uint32_t code) { return entry.first < code; });
    if (found != kLinuxKeyNames.end() && found->first == keyCode) {
        return std::string(found->second);
    }
    return HotKeyBinding::keyName(keyCode);
}

std::string keyText(const HotKeyBinding& binding) {
    std::string text;
    for (const auto& [bit, name] : kModifierNames) {
        if (binding.modifiers & bit) {
            text += name;
            text += '+';
        }
    }
    return text + keyText(binding.keyCode);
}

}  // namespace glintdeck
