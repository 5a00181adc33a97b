// The parts of the X11 test support that use Qt; Xlib's macros must not meet Qt's headers.

#include "shell/hot_key_service.h"
#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck::testing {

namespace {
// Ctrl+Alt+Super+B in a slot id the application never uses. (Not a function key: the server's
// keymap turns Control+Alt+F-keys into console switches that no client sees.)
constexpr uint32_t barrierSlot = 99;
constexpr HotKeyBinding barrierKey{
    0x0B, HotKeyBinding::control | HotKeyBinding::option | HotKeyBinding::command};
constexpr uint8_t b = 56;
}  // namespace

struct EventBarrier::Slot {
    HotKeyService service{barrierSlot};
};

EventBarrier::EventBarrier(OtherClient& other) : other_(other), slot_(new Slot) {
    slot_->service.registerBinding(barrierKey, [this] { ++passed_; });
}

EventBarrier::~EventBarrier() { delete slot_; }

bool EventBarrier::pass() {
    const int expected = passed_ + 1;
    other_.typeCombination({keys::control, keys::alt, keys::super, b});
    return runUntil([&] { return passed_ == expected; });
}

}  // namespace glintdeck::testing
