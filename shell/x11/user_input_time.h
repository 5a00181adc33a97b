#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <memory>
#include <optional>

namespace glintdeck {

// The X server time of the last pointer button or key press that reached this program (on its
// windows, or through its key grabs): the click on the strip's settings button or on a menu item,
// which a window manager wants with a focus request made on its behalf (focus-stealing prevention
// refuses requests without a recent user time). Install it before the first window shows. Main
// thread only.
class UserInputTime final : public QAbstractNativeEventFilter {
  public:
    // Absent without an X display.
    [[nodiscard]] static std::unique_ptr<UserInputTime> install();
    ~UserInputTime() override = default;  // the base class removes the filter
    UserInputTime(const UserInputTime&) = delete;
    UserInputTime& operator=(const UserInputTime&) = delete;

    // Absent before the first press.
    [[nodiscard]] std::optional<uint32_t> last() const { return last_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    explicit UserInputTime(uint8_t xinputOpcode) : xinputOpcode_(xinputOpcode) {}

    uint8_t xinputOpcode_;  // 0 when the server lacks XInput
    std::optional<uint32_t> last_;
};

}  // namespace glintdeck
