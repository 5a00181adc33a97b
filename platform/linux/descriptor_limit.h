#pragma once

#include <cstddef>
#include <cstdint>

namespace glintdeck {

// The process scan keeps each process's stat file open between scans (reopening one costs three
// times its read), so a crowded machine wants a few thousand descriptors, where the usual soft
// limit is 1024 under a far higher hard one.

// Raises the soft limit on open descriptors toward the hard one, up to what the scan can use
// with a margin (a leak still meets a limit). Called once at start, before any thread exists.
// A descriptor number past 1024 is safe here: Qt, glib, xcb and libdbus wait with poll(), and
// no child process (which would inherit the raised limit) is ever started.
void raiseDescriptorLimit();

// How many stat files the scan may keep open under a soft limit of this many descriptors: all
// but a quarter of them (at least 256) left for the rest of the program, and at most 16384.
[[nodiscard]] size_t keptFileLimitFor(uint64_t descriptorLimit);

// keptFileLimitFor() the current soft limit; 0 when it cannot be read.
[[nodiscard]] size_t currentKeptFileLimit();

}  // namespace glintdeck
