#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "settings/hot_key_binding.h"
#include "settings/hot_key_refusal.h"

struct _XCBKeySymbols;

namespace glintdeck {

// The process's passive key grabs on the root window, one per hot-key slot, and the filter
// that turns their key presses into slot ids. Installed once, on first use, in Qt's event loop
// and never removed. Main thread only.
//
// A binding is grabbed for each state of Caps Lock and Num Lock (four grabs, all checked in one
// round trip); when the server refuses any of them (another program holds the combination) the
// others are released again, so a slot is either fully grabbed or not at all. The X modifier
// bits of Super, Alt and Num Lock are looked up on the server, and looked up again, with every
// grab renewed, when the keyboard mapping changes.
class X11KeyGrabs final : public QAbstractNativeEventFilter {
  public:
    using Delivery = std::function<void(uint32_t slotId)>;

    // The grabs of this process; installs the event filter on first use.
    [[nodiscard]] static X11KeyGrabs& shared();

    // Called, from the event loop, with the slot id of every grabbed combination pressed
    // (auto-repeat excluded).
    void setDelivery(Delivery delivery) { delivery_ = std::move(delivery); }

    // Grabs the binding for the slot, replacing the slot's earlier grab. False when the server
    // refuses, when the key or a modifier has no place on this keyboard, or without X (refusal
    // says which); the binding is still remembered and tried again when the keyboard mapping
    // changes.
    [[nodiscard]] bool grab(uint32_t slotId, HotKeyBinding binding);

    // Releases the slot's grab, if any, and forgets its binding; a slot refused only because
    // this one held its combination is grabbed now.
    void release(uint32_t slotId);

    [[nodiscard]] bool isGrabbed(uint32_t slotId) const;
    // Why the slot's binding is not grabbed; absent for a grabbed or unknown slot.
    [[nodiscard]] std::optional<HotKeyRefusal> refusal(uint32_t slotId) const;

    // The server time of the last delivered press, for focus requests made on its behalf.
    [[nodiscard]] std::optional<uint32_t> lastPressTime() const { return lastPressTime_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    X11KeyGrabs(const X11KeyGrabs&) = delete;
    X11KeyGrabs& operator=(const X11KeyGrabs&) = delete;

  private:
    X11KeyGrabs() = default;
    ~X11KeyGrabs() override = default;

    struct ModifierBits {
        uint16_t alt = 0;
        uint16_t super = 0;
        uint16_t numLock = 0;
        bool operator==(const ModifierBits&) const = default;
    };

    struct Slot {
        HotKeyBinding binding;
        bool grabbed = false;
        std::optional<HotKeyRefusal> refusal;  // while not grabbed
        uint8_t keycode = 0;
        uint16_t modifiers = 0;  // X modifier bits, locks excluded
    };

    void ensureInstalled();
    [[nodiscard]] ModifierBits lookUpModifierBits() const;
    [[nodiscard]] bool grabSlot(Slot& slot);
    [[nodiscard]] std::optional<HotKeyRefusal> tryGrab(Slot& slot);
    void ungrabSlot(Slot& slot);
    void scheduleRegrab();
    void regrab();
    [[nodiscard]] bool handleKey(const void* event, bool press);

    Delivery delivery_;
    std::map<uint32_t, Slot> slots_;
    ModifierBits bits_;
    _XCBKeySymbols* keySymbols_ = nullptr;
    void* installedOn_ = nullptr;  // the application whose event loop runs the filter
    uint8_t xkbFirstEvent_ = 0;
    bool regrabPending_ = false;
    std::optional<uint32_t> lastPressTime_;
    // A held combination must not toggle the strip again with every auto-repeat.
    std::optional<uint8_t> keyDown_;
    uint32_t lastKeyPressTime_ = 0;
};

}  // namespace glintdeck
