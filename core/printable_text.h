#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glintdeck {

// Names the machine gives us (process, network interface, GPU model, sensor label) are chosen by
// whoever starts a process, names an interface or writes a driver or a PCI database, and may
// hold any bytes. Each passes through printableText once, where it enters the program, so that
// views, the terminal output and JSON only ever see text that is:
// - valid UTF-8: every byte that does not start a well-formed sequence becomes U+FFFD (overlong
//   forms, surrogates and code points past U+10FFFF included);
// - free of control characters: C0, DEL, C1 and the line and paragraph separators U+2028 and
//   U+2029 become U+FFFD, so no escape sequence reaches a terminal and no name breaks a line;
// - free of bidirectional formatting (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to
//   U+2069), which is removed: it would reorder the text shown after the name;
// - free of piles of combining marks: at most kMostMarksPerCharacter nonspacing or enclosing
//   marks (Unicode's categories Mn and Me, whatever the script) follow one character, enough for
//   any script's accents; the rest are dropped, so a "Z" with a hundred accents cannot draw over
//   the rows around it;
// - at most mostBytes long, cut between characters and ended with "…" when cut.
inline constexpr size_t kMostNameBytes = 256;
inline constexpr int kMostMarksPerCharacter = 4;

[[nodiscard]] std::string printableText(std::string_view text, size_t mostBytes = kMostNameBytes);

}  // namespace glintdeck
