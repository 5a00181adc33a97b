#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "settings/hot_key_binding.h"
#include "settings/hot_key_refusal.h"

namespace glintdeck {

// One global hot-key slot: while registered, pressing its combination anywhere on the desktop
// runs its handler on the main thread, in a task of its own (so a handler may unregister or
// re-register any slot, its own included). The application uses four: 1 summon, 2 dismiss,
// 3 settings, 4 pin toggle. Handlers live in one process-wide table keyed by slot id.
//
// On X11 the combination is a passive grab on the root window (X11KeyGrabs). A combination the
// server refuses (another program holds it), one whose key or modifier this keyboard lacks, or
// one another slot already holds, leaves the slot refused: the key does nothing, the handler
// stays in the table, and state() says so. Without an X display every slot is refused.
// Main thread only.
class HotKeyService final {
  public:
    using Binding = HotKeyBinding;
    using Handler = std::function<void()>;

    enum class State { unregistered, registered, refused };

    explicit HotKeyService(uint32_t id);
    ~HotKeyService();  // unregisters
    HotKeyService(const HotKeyService&) = delete;
    HotKeyService& operator=(const HotKeyService&) = delete;

    // Replaces any earlier registration and handler of this slot; the old combination is
    // released before the new one is grabbed.
    void registerBinding(Binding binding, Handler handler);

    // Releases the registration, if any, and removes the slot's handler from the table.
    void unregister();

    [[nodiscard]] uint32_t id() const { return id_; }
    [[nodiscard]] State state() const;
    // Why a refused slot is refused; absent unless state() is refused.
    [[nodiscard]] std::optional<HotKeyRefusal> refusal() const;

    // The server time of the last hot-key press, for focus requests the handler makes.
    [[nodiscard]] static std::optional<uint32_t> lastPressTime();

  private:
    uint32_t id_;
    bool registered_ = false;
};

}  // namespace glintdeck
