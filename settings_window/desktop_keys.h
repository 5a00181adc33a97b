#pragma once

#include <QString>
#include <functional>

#include "core/change_notifier.h"

namespace glintdeck {

// The global keys of a Wayland session, which the desktop owns rather than Glintdeck: what it
// bound, or how the user binds the key themselves where no desktop portal does it. The
// hot-keys pane shows this instead of the key recorders.
class DesktopKeys {
  public:
    struct Status {
        // The desktop's portal binds the keys (or is still being asked).
        bool portal = false;
        // What the portal bound, in the desktop's own words ("Ctrl+Alt+Meta+Q"); empty: nothing.
        QString summonTrigger;
        QString pinTrigger;
        // The desktop can show its own settings for our keys.
        bool canConfigure = false;
        // Without a portal: one sentence on binding the command to a key on this desktop, and
        // what the Copy button copies.
        QString instruction;
        QString copyText;
        // Why not through the portal, where one was there and refused: one sentence, or empty.
        QString problem;
    };

    virtual ~DesktopKeys() = default;
    [[nodiscard]] virtual Status status() const = 0;
    // Opens the desktop's shortcut settings; only where status().canConfigure.
    virtual void configure() = 0;
    // onChange runs on the main thread after the status changed, until the subscription ends.
    [[nodiscard]] virtual Subscription subscribe(std::function<void()> onChange) = 0;
};

}  // namespace glintdeck
