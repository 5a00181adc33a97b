#include "platform/linux/memory_pressure_reader.h"

#include <algorithm>
#include <cmath>

#include "platform/linux/text_scanner.h"

namespace glintdeck {

std::optional<double> parseMemoryPressure(std::string_view text) {
    TextScanner scanner(text);
    // The "some" line comes first; "full" (all tasks stalled) follows on kernels that keep it.
    if (!scanner.skipPrefix("some")) return std::nullopt;
    while (std::optional<std::string_view> field = scanner.readWord()) {
        if (!field->starts_with("avg60=")) continue;
        TextScanner value(field->substr(6));
        std::optional<double> percent = value.readDouble();
        if (!percent || !value.atEnd() || !std::isfinite(*percent)) return std::nullopt;
        return std::clamp(*percent, 0.0, 100.0);
    }
    return std::nullopt;
}

MemoryPressureReader::MemoryPressureReader(const std::string& root)
    : file_(root + "/proc/pressure/memory", kLargestAttribute) {}

std::optional<double> MemoryPressureReader::memoryPressure() {
    std::optional<std::string_view> text = file_.read();
    return text ? parseMemoryPressure(*text) : std::nullopt;
}

}  // namespace glintdeck
