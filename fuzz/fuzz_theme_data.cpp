// The custom theme's JSON. A theme that decodes encodes to JSON that decodes to the same theme,
// so storing it never loses it.

#include "fuzz/fuzz_support.h"
#include "settings/theme_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::optional<ThemeData> theme = decodeThemeData(textOf(data, size));
    if (!theme) return 0;
    require(decodeThemeData(encodeThemeData(*theme)) == theme);
    (void)std::hash<CodableColor>{}(theme->accent);
    return 0;
}
