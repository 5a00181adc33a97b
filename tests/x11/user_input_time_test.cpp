#include "shell/x11/user_input_time.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "shell/x11/x11_server_time.h"
#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

// Records the time Qt stamps on the presses it delivers.
class PressedWidget final : public QWidget {
  public:
    std::optional<uint64_t> pressTime;

  protected:
    void mousePressEvent(QMouseEvent* event) override { pressTime = event->timestamp(); }
};

// The settings window raised from a click must carry that click's server time: a focus request
// without it is refused by window managers that prevent focus stealing. Where no press time is
// known, x11::serverTime stands in: the same clock.
TEST(UserInputTime, IsTheServerTimeOfTheLastClickOnOurWindows) {
    std::unique_ptr<UserInputTime> inputTime = UserInputTime::install();
    ASSERT_NE(inputTime, nullptr);
    PressedWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 100);
    window.show();
    ASSERT_TRUE(runUntil([&] { return window.windowHandle()->isExposed(); }));
    OtherClient other;
    const std::optional<uint32_t> before = x11::serverTime();
    other.click(1, 600, 500);  // elsewhere: not ours
    other.click(1, 150, 150);
    ASSERT_TRUE(runUntil([&] { return window.pressTime.has_value(); }));
    ASSERT_TRUE(inputTime->last().has_value());
    EXPECT_EQ(*inputTime->last(), static_cast<uint32_t>(*window.pressTime));
    EXPECT_LE(before.value_or(UINT32_MAX), *inputTime->last());
    EXPECT_LE(*inputTime->last(), x11::serverTime().value_or(0));
}

}  // namespace
}  // namespace glintdeck
