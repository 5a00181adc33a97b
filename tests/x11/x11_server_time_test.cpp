#include "shell/x11_server_time.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include "shell/user_input_time.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;
using testing::waitUntil;

// It stands in for a press's time in a focus request, so it must be the clock the server stamps
// input with.
TEST(X11ServerTime, IsTheClockOfTheServersInput) {
    std::unique_ptr<UserInputTime> inputTime = UserInputTime::install();
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 100);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.windowHandle()->isExposed(); }));
    const std::optional<uint32_t> before = x11::serverTime();
    OtherClient().click(1, 150, 150);
    ASSERT_TRUE(waitUntil([&] { return inputTime->last().has_value(); }));
    const std::optional<uint32_t> after = x11::serverTime();
    ASSERT_TRUE(before && after);
    EXPECT_LE(*before, *inputTime->last());
    EXPECT_LE(*inputTime->last(), *after);
}

}  // namespace
}  // namespace glintdeck
