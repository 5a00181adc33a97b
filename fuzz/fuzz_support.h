#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace glintdeck {

// The fuzz input as the text a parser is handed.
inline std::string_view textOf(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A property every input must keep. Breaking it stops the run like a crash, so libFuzzer keeps
// the input that broke it.
inline void require(bool property) {
    if (!property) __builtin_trap();
}

}  // namespace glintdeck
