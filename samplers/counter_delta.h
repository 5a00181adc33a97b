#pragma once

#include <cstdint>

namespace glintdeck {

// How far a cumulative counter moved. Kernel counters go backwards when a device detaches or
// its driver resets them; that reads as no movement rather than as a wrapped, enormous delta.
[[nodiscard]] constexpr uint64_t saturatingDelta(uint64_t now, uint64_t before) {
    return now >= before ? now - before : 0;
}

}  // namespace glintdeck
