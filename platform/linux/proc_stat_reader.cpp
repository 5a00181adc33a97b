#include "platform/linux/proc_stat_reader.h"

#include <array>

#include "platform/linux/text_scanner.h"

namespace glintdeck {

std::optional<ProcStatCPU> parseProcStatCPU(std::string_view text) {
    TextScanner scanner(text);
    if (!scanner.skipPrefix("cpu ")) return std::nullopt;
    std::array<uint64_t, 8> fields{};
    size_t count = 0;
    for (; count < fields.size(); ++count) {
        std::optional<uint64_t> value = scanner.readUnsigned();
        if (!value) break;
        fields[count] = *value;
    }
    // user, nice, system and idle have been there since the first kernels.
    if (count < 4) return std::nullopt;
    return ProcStatCPU{fields[0], fields[1], fields[2], fields[3],
                       fields[4], fields[5], fields[6], fields[7]};
}

CPUTicks toCPUTicks(const ProcStatCPU& c) {
    return CPUTicks{
        .user = static_cast<uint32_t>(c.user),
        .system = static_cast<uint32_t>(c.system + c.irq + c.softirq + c.steal),
        .idle = static_cast<uint32_t>(c.idle + c.iowait),
        .nice = static_cast<uint32_t>(c.nice),
    };
}

ProcStatReader::ProcStatReader(const std::string& root) : file_(root + "/proc/stat") {}

std::optional<CPUTicks> ProcStatReader::read() {
    std::optional<std::string_view> text = file_.read();
    if (!text) return std::nullopt;
    std::optional<ProcStatCPU> counters = parseProcStatCPU(*text);
    if (!counters) return std::nullopt;
    return toCPUTicks(*counters);
}

}  // namespace glintdeck
