#include "shell/x11/x11_key_grabs.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

#include "shell/placement/key_positions.h"
#include "shell/x11/x11_connection.h"

namespace glintdeck {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The XKB events that announce a new keymap (XkbNewKeyboardNotify, XkbMapNotify); Qt selects
// them on the connection we share, and an XKB-aware client may get no core MappingNotify.
constexpr uint8_t xkbNewKeyboardNotify = 0;
constexpr uint8_t xkbMapNotify = 1;

// The modifier lock states a grab must cover: X matches a grab's modifiers exactly, so Caps Lock
// or Num Lock being on would otherwise hide the combination.
std::vector<uint16_t> lockVariants(uint16_t numLock) {
    std::vector<uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (numLock != 0 && numLock != XCB_MOD_MASK_LOCK) {
        variants.push_back(numLock);
        variants.push_back(numLock | XCB_MOD_MASK_LOCK);
    }
    return variants;
}

}  // namespace

X11KeyGrabs& X11KeyGrabs::shared() {
    static X11KeyGrabs grabs;
    grabs.ensureInstalled();
    return grabs;
}

void X11KeyGrabs::ensureInstalled() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || installedOn_ == app || x11::connection() == nullptr) {
        return;
    }
    installedOn_ = app;
    app->installNativeEventFilter(this);
    xcb_connection_t* conn = x11::connection();
    Reply<xcb_query_extension_reply_t> xkb(
        xcb_query_extension_reply(conn, xcb_query_extension(conn, 9, "XKEYBOARD"), nullptr),
        &std::free);
    xkbFirstEvent_ = xkb && xkb->present ? xkb->first_event : 0;
    if (keySymbols_ != nullptr) {
        xcb_key_symbols_free(keySymbols_);
    }
    keySymbols_ = xcb_key_symbols_alloc(conn);
    bits_ = lookUpModifierBits();
}

X11KeyGrabs::ModifierBits X11KeyGrabs::lookUpModifierBits() const {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr || keySymbols_ == nullptr) {
        return {};
    }
    Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr), &std::free);
    if (!mapping) {
        return {};
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    // The modifier bit of the first listed key that sits on one of Mod1 to Mod5.
    auto bitOf = [&](std::initializer_list<xcb_keysym_t> keysyms) -> uint16_t {
        for (xcb_keysym_t keysym : keysyms) {
            std::unique_ptr<xcb_keycode_t, decltype(&std::free)> keycodes(
                xcb_key_symbols_get_keycode(keySymbols_, keysym), &std::free);
            for (const xcb_keycode_t* k = keycodes.get(); k != nullptr && *k != XCB_NO_SYMBOL;
                 ++k) {
                for (int modifier = 3; modifier < 8; ++modifier) {
                    for (int i = 0; i < perModifier; ++i) {
                        if (codes[modifier * perModifier + i] == *k) {
                            return static_cast<uint16_t>(1u << modifier);
                        }
                    }
                }
            }
        }
        return 0;
    };
    return {.alt = bitOf({XK_Alt_L, XK_Alt_R}),
            .super = bitOf({XK_Super_L, XK_Super_R}),
            .numLock = bitOf({XK_Num_Lock})};
}

bool X11KeyGrabs::grab(uint32_t slotId, HotKeyBinding binding) {
    release(slotId);
    Slot& slot = slots_[slotId];
    slot.binding = binding;
    return grabSlot(slot);
}

void X11KeyGrabs::release(uint32_t slotId) {
    auto found = slots_.find(slotId);
    if (found == slots_.end()) {
        return;
    }
    const bool wasGrabbed = found->second.grabbed;
    ungrabSlot(found->second);
    slots_.erase(found);
    if (!wasGrabbed) {
        return;
    }
    // A slot refused because this one held its combination gets it now: the summon key
    // recorded as the pin key's while the strip showed works again once the strip hides.
    for (auto& [id, slot] : slots_) {
        if (slot.refusal == HotKeyRefusal::heldByOwnKey) {
            (void)grabSlot(slot);
        }
    }
}

bool X11KeyGrabs::isGrabbed(uint32_t slotId) const {
    auto found = slots_.find(slotId);
    return found != slots_.end() && found->second.grabbed;
}

std::optional<HotKeyRefusal> X11KeyGrabs::refusal(uint32_t slotId) const {
    auto found = slots_.find(slotId);
    return found == slots_.end() ? std::nullopt : found->second.refusal;
}

bool X11KeyGrabs::grabSlot(Slot& slot) {
    slot.refusal = tryGrab(slot);
    return !slot.refusal;
}

std::optional<HotKeyRefusal> X11KeyGrabs::tryGrab(Slot& slot) {
    xcb_connection_t* conn = x11::connection();
    const uint32_t root = x11::rootWindow();
    if (conn == nullptr || root == 0) {
        return HotKeyRefusal::noDisplay;
    }
    const std::optional<uint8_t> keycode = xKeycode(slot.binding.keyCode);
    if (!keycode) {
        return HotKeyRefusal::noSuchKey;
    }
    const uint32_t wanted = slot.binding.modifiers;
    uint16_t modifiers = 0;
    struct Modifier {
        uint32_t stored;
        uint16_t x;
        HotKeyRefusal missing;  // when no key on this keyboard gives it
    };
    const std::array<Modifier, 4> table{{
        {HotKeyBinding::shift, XCB_MOD_MASK_SHIFT, HotKeyRefusal::noSuchKey},
        {HotKeyBinding::control, XCB_MOD_MASK_CONTROL, HotKeyRefusal::noSuchKey},
        {HotKeyBinding::option, bits_.alt, HotKeyRefusal::noAltKey},
        {HotKeyBinding::command, bits_.super, HotKeyRefusal::noSuperKey},
    }};
    for (const Modifier& modifier : table) {
        if ((wanted & modifier.stored) != 0) {
            if (modifier.x == 0) {
                return modifier.missing;
            }
            modifiers |= modifier.x;
        }
    }
    // Another slot of ours with the same combination: X would silently share the grab, and
    // releasing either slot would then break the other. Treat it as taken.
    for (const auto& [id, other] : slots_) {
        if (&other != &slot && other.grabbed && other.keycode == *keycode &&
            other.modifiers == modifiers) {
            return HotKeyRefusal::heldByOwnKey;
        }
    }

    // All grabs go out before the first check, so the whole set costs one round trip.
    const std::vector<uint16_t> variants = lockVariants(bits_.numLock);
    std::vector<xcb_void_cookie_t> cookies;
    cookies.reserve(variants.size());
    for (uint16_t lock : variants) {
        // owner_events off: the press reaches the root window even when one of our own windows
        // has the focus, so the key acts the same everywhere.
        cookies.push_back(xcb_grab_key_checked(conn, 0, root, modifiers | lock, *keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::vector<uint16_t> held;
    bool refused = false;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(conn, cookies[i])) {
            std::free(error);
            refused = true;
        } else {
            held.push_back(variants[i]);
        }
    }
    if (refused) {
        for (uint16_t lock : held) {
            xcb_ungrab_key(conn, *keycode, root, modifiers | lock);
        }
        x11::sync();
        return HotKeyRefusal::heldElsewhere;
    }
    slot.grabbed = true;
    slot.keycode = *keycode;
    slot.modifiers = modifiers;
    return std::nullopt;
}

void X11KeyGrabs::ungrabSlot(Slot& slot) {
    if (!slot.grabbed) {
        return;
    }
    slot.grabbed = false;
    xcb_connection_t* conn = x11::connection();
    const uint32_t root = x11::rootWindow();
    if (conn == nullptr || root == 0) {
        return;
    }
    for (uint16_t lock : lockVariants(bits_.numLock)) {
        xcb_ungrab_key(conn, slot.keycode, root, slot.modifiers | lock);
    }
    x11::sync();
}

void X11KeyGrabs::scheduleRegrab() {
    if (regrabPending_) {
        return;
    }
    regrabPending_ = true;
    // After the burst of notifications a keymap change brings, and outside the filter.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [this] { regrab(); }, Qt::QueuedConnection);
}

void X11KeyGrabs::regrab() {
    regrabPending_ = false;
    if (x11::connection() == nullptr) {
        return;
    }
    if (keySymbols_ != nullptr) {
        xcb_key_symbols_free(keySymbols_);
    }
    keySymbols_ = xcb_key_symbols_alloc(x11::connection());
    const ModifierBits bits = lookUpModifierBits();
    if (bits != bits_) {
        // Key positions never move, but modifier bits can: release every grab made with the
        // old bits (a lock variant with an old Num Lock bit would otherwise stay behind).
        for (auto& [id, slot] : slots_) {
            ungrabSlot(slot);
        }
        bits_ = bits;
    }
    // Refused slots are tried again too: the modifier they lacked may exist now.
    for (auto& [id, slot] : slots_) {
        if (!slot.grabbed) {
            (void)grabSlot(slot);
        }
    }
}

bool X11KeyGrabs::handleKey(const void* message, bool press) {
    const auto* event = static_cast<const xcb_key_press_event_t*>(message);
    if (event->event != x11::rootWindow()) {
        return false;
    }
    const uint8_t keycode = event->detail;
    bool ours = false;
    for (const auto& [id, slot] : slots_) {
        ours = ours || (slot.grabbed && slot.keycode == keycode);
    }
    if (!press) {
        if (keyDown_ == keycode) {
            keyDown_.reset();
        }
        return ours;  // the release of a grabbed key is ours too, whatever the modifiers
    }
    // Qt asks for detectable auto-repeat on this connection, so a held key repeats as presses
    // without releases, every few tens of milliseconds after a delay under a second. A press
    // of a key still marked down after a longer pause means its release went elsewhere.
    constexpr uint32_t repeatWindowMs = 1000;
    const bool repeat = keyDown_ == keycode && event->time - lastKeyPressTime_ < repeatWindowMs;
    keyDown_ = keycode;
    lastKeyPressTime_ = event->time;
    const uint16_t state =
        event->state & 0xFF & ~(XCB_MOD_MASK_LOCK | static_cast<unsigned>(bits_.numLock));
    for (const auto& [id, slot] : slots_) {
        if (slot.grabbed && slot.keycode == keycode && slot.modifiers == state) {
            if (!repeat) {
                lastPressTime_ = event->time;
                if (delivery_) {
                    delivery_(id);
                }
            }
            return true;
        }
    }
    return ours;
}

bool X11KeyGrabs::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    switch (type) {
        case XCB_KEY_PRESS:
            return handleKey(message, true);
        case XCB_KEY_RELEASE:
            return handleKey(message, false);
        case XCB_MAPPING_NOTIFY: {
            const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(message);
            if (mapping->request != XCB_MAPPING_POINTER) {
                scheduleRegrab();
            }
            return false;  // Qt follows the mapping too
        }
        default:
            if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
                // Every XKB event shares one type; its kind is the second byte.
                const uint8_t xkbType = event->pad0;
                if (xkbType == xkbNewKeyboardNotify || xkbType == xkbMapNotify) {
                    scheduleRegrab();
                }
            }
            return false;
    }
}

}  // namespace glintdeck
