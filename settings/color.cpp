#include "settings/color.h"

namespace glintdeck {

Color Color::multipliedOpacity(double factor) const { return {red, green, blue, opacity * factor}; }

namespace colors {
namespace {

constexpr Color rgb(int red, int green, int blue) {
    return {red / 255.0, green / 255.0, blue / 255.0, 1};
}

}  // namespace

ThemeColor ink() { return ThemeColor::adaptive(white, black); }

ThemeColor systemGreen() { return ThemeColor::adaptive(rgb(48, 209, 88), rgb(52, 199, 89)); }

ThemeColor systemYellow() { return ThemeColor::adaptive(rgb(255, 214, 10), rgb(255, 204, 0)); }

ThemeColor systemRed() { return ThemeColor::adaptive(rgb(255, 69, 58), rgb(255, 59, 48)); }

}  // namespace colors
}  // namespace glintdeck
