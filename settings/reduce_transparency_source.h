#pragma once

#include <functional>

#include "core/change_notifier.h"

namespace glintdeck {

// Tells whether the desktop asks for opaque surfaces, and when that changes. On Linux the
// shell answers it from the compositing manager and the desktop portal's contrast setting.
class ReduceTransparencySource {
  public:
    virtual ~ReduceTransparencySource() = default;

    [[nodiscard]] virtual bool reduceTransparency() const = 0;

    // onChange runs on the main thread after the flag changed, until the subscription ends.
    [[nodiscard]] virtual Subscription subscribe(std::function<void()> onChange) = 0;
};

// The source used until the shell provides one: transparency is never reduced.
class NoReduceTransparency final : public ReduceTransparencySource {
  public:
    [[nodiscard]] bool reduceTransparency() const override { return false; }
    [[nodiscard]] Subscription subscribe(std::function<void()>) override { return {}; }
};

}  // namespace glintdeck
