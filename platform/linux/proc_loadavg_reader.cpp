#include "platform/linux/proc_loadavg_reader.h"

#include <cmath>

#include "platform/linux/text_scanner.h"

namespace glintdeck {

std::optional<std::array<double, 3>> parseLoadAverage(std::string_view text) {
    TextScanner scanner(text);
    std::array<double, 3> values{};
    for (double& value : values) {
        std::optional<double> number = scanner.readDouble();
        if (!number || !std::isfinite(*number) || *number < 0) return std::nullopt;
        value = *number;
    }
    return values;
}

ProcLoadAverageReader::ProcLoadAverageReader(const std::string& root)
    : file_(root + "/proc/loadavg") {}

int ProcLoadAverageReader::loadAverages(std::array<double, 3>& values) {
    std::optional<std::string_view> text = file_.read();
    if (!text) return -1;
    std::optional<std::array<double, 3>> parsed = parseLoadAverage(*text);
    if (!parsed) return -1;
    values = *parsed;
    return 3;
}

}  // namespace glintdeck
