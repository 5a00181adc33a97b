#include "platform/linux/proc_net_parsers.h"

#include <charconv>

#include "platform/linux/text_scanner.h"

namespace glintdeck {
namespace {

std::string_view trimBlanks(std::string_view text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

std::optional<uint64_t> parseHex(std::string_view word) {
    uint64_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (error != std::errc{} || end != word.data() + word.size()) return std::nullopt;
    return value;
}

}  // namespace

void parseNetDev(std::string_view text, std::vector<NetDevRow>& rows) {
    rows.clear();
    TextScanner lines(text);
    while (!lines.atEnd()) {
        std::string_view line = lines.rest().substr(0, lines.rest().find('\n'));
        lines.skipLine();
        size_t colon = line.find(':');
        // The two header lines have '|' where interface lines have ':'.
        if (colon == std::string_view::npos) continue;
        std::string_view name = trimBlanks(line.substr(0, colon));
        if (name.empty()) continue;
        // received: bytes packets errs drop fifo frame compressed multicast, then sent: bytes
        TextScanner counters(line.substr(colon + 1));
        std::optional<uint64_t> received = counters.readUnsigned();
        bool complete = received.has_value();
        for (int skipped = 0; complete && skipped < 7; ++skipped) {
            complete = counters.readUnsigned().has_value();
        }
        std::optional<uint64_t> sent = complete ? counters.readUnsigned() : std::nullopt;
        if (!sent) continue;
        rows.push_back(NetDevRow{std::string(name), *received, *sent});
    }
}

std::optional<std::string> parseDefaultRoute(std::string_view text) {
    constexpr uint64_t kRouteUp = 0x1;  // RTF_UP
    std::optional<std::string_view> best;
    uint64_t bestMetric = 0;
    TextScanner lines(text);
    lines.skipLine();  // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    while (!lines.atEnd()) {
        std::string_view line = lines.rest().substr(0, lines.rest().find('\n'));
        lines.skipLine();
        TextScanner fields(line);
        std::optional<std::string_view> name = fields.readWord();
        std::optional<std::string_view> destination = fields.readWord();
        std::optional<std::string_view> gateway = fields.readWord();
        std::optional<std::string_view> flags = fields.readWord();
        if (!name || !destination || !gateway || !flags) continue;
        std::optional<uint64_t> refCount = fields.readUnsigned();
        std::optional<uint64_t> use = fields.readUnsigned();
        std::optional<uint64_t> metric = fields.readUnsigned();
        std::optional<std::string_view> mask = fields.readWord();
        if (!refCount || !use || !metric || !mask) continue;
        std::optional<uint64_t> flagBits = parseHex(*flags);
        if (parseHex(*destination) != 0u || parseHex(*mask) != 0u || !flagBits ||
            (*flagBits & kRouteUp) == 0) {
            continue;
        }
        if (!best || *metric < bestMetric) {
            best = name;
            bestMetric = *metric;
        }
    }
    if (!best) return std::nullopt;
    return std::string(*best);
}

}  // namespace glintdeck
