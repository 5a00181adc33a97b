#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace glintdeck {

// How the user asked for the strip, as far as a window manager or compositor needs to know
// before it lets a window of ours take the keyboard: focus requests without a recent user
// action are refused (focus-stealing prevention).
struct SummonRequest {
    // The X server time of the key press that summoned it, when the press reached us over X.
    std::optional<uint32_t> userTimestamp;
    // The activation token a desktop passed along with its own shortcut (empty when none).
    std::string activationToken;

    bool operator==(const SummonRequest&) const = default;
};

}  // namespace glintdeck
