// The one rule every name from outside passes through (interfaces, GPU models, sensor labels,
// processes), and the sensor-role rules that read the same labels.

#include <string>

#include "core/printable_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/thermal_state_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glintdeck;
    std::string_view text = textOf(data, size);
    for (size_t most : {size_t{2}, size_t{16}, kMostNameBytes}) {
        std::string shown = printableText(text, most);
        require(shown.size() <= most);
        require(printableText(shown, most) == shown);  // already printable: left alone
        for (char c : shown) require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }
    // Text that needs no change is returned as it was.
    std::string whole = printableText(text, size);
    if (whole.size() == size && whole != text) require(printableText(whole, size) == whole);

    size_t space = text.find(' ');
    std::string_view chip = text.substr(0, space);
    std::string_view label = space == std::string_view::npos ? "" : text.substr(space + 1);
    (void)chipRole(chip, label);
    (void)roleForProduct(text);
    (void)tripType(text);
    (void)thermalZoneRole(text);
    return 0;
}
