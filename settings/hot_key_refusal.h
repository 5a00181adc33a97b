#pragma once

namespace glintdeck {

// Why a global key combination could not be registered. Each reason gets its own words: only
// heldElsewhere means that another program holds the combination.
enum class HotKeyRefusal {
    heldElsewhere,  // another program's grab
    heldByOwnKey,   // another of our keys holds it (Keep on Screen, Esc, Super+comma)
    noSuperKey,     // this keyboard has no key that gives Super
    noAltKey,       // nor Alt
    noSuchKey,      // the key's position does not exist on this keyboard
    noDisplay,      // no X display: no global keys at all
};

}  // namespace glintdeck
