#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glintdeck {

// One interface of /proc/net/dev with its 64-bit byte counters.
struct NetDevRow {
    std::string name;  // at most 15 characters, so it never allocates
    uint64_t receivedBytes = 0;
    uint64_t sentBytes = 0;
    bool operator==(const NetDevRow&) const = default;
};

// Fills rows (cleared first) from the text of /proc/net/dev. Each line is split at its first
// ':', which no interface name may contain; kernels before 2.6.37 print no space after it when
// a counter is wide.
void parseNetDev(std::string_view text, std::vector<NetDevRow>& rows);

// The interface of the IPv4 default route with the lowest metric in /proc/net/route (the first
// such route on a tie), or nothing without a default route.
[[nodiscard]] std::optional<std::string> parseDefaultRoute(std::string_view text);

}  // namespace glintdeck
