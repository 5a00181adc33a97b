#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "shell/floating_window.h"
#include "shell/panel_host.h"
#include "shell/window_activation.h"
#include "tests/support/run_until.h"
#include "tests/x11/other_client.h"

namespace glintdeck {
namespace {

using testing::OtherClient;

// What a desktop's startup-notification monitor receives on the root window: the messages of
// _NET_STARTUP_INFO_BEGIN and _NET_STARTUP_INFO, each up to its NUL. A connection of its own,
// since the other client's belongs to Xlib.
class StartupMonitor {
  public:
    // Atoms are the server's, so the other client may name them.
    explicit StartupMonitor(OtherClient& other)
        : connection_(xcb_connect(nullptr, nullptr)),
          begin_(other.atom("_NET_STARTUP_INFO_BEGIN")),
          more_(other.atom("_NET_STARTUP_INFO")) {
        const uint32_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        // A round trip: listening before anything is sent.
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    ~StartupMonitor() { xcb_disconnect(connection_); }
    StartupMonitor(const StartupMonitor&) = delete;
    StartupMonitor& operator=(const StartupMonitor&) = delete;

    // The first complete message, once one has arrived.
    [[nodiscard]] std::string message() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                const auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
                // Startup-notification readers take only 8-bit messages.
                if (client->type == begin_) partial_.clear();
                if ((client->type == begin_ || client->type == more_) && client->format == 8) {
                    partial_.append(reinterpret_cast<const char*>(client->data.data8), 20);
                }
            }
            std::free(event);
        }
        const size_t end = partial_.find('\0');
        return end == std::string::npos ? std::string() : partial_.substr(0, end);
    }

  private:
    xcb_connection_t* connection_;
    uint32_t begin_;
    uint32_t more_;
    std::string partial_;
};

TEST(SummonActivation, AnActivationTokenBecomesTheStartupIdAnnouncedAsComplete) {
    OtherClient other;
    StartupMonitor desktop(other);
    PanelHost panel(SessionKind::wayland);
    auto content = std::make_unique<QWidget>();
    content->setFixedSize(300, 40);
    panel.setContent(std::move(content));

    // A token long enough for several messages, with a space the message must quote.
    const SummonRequest request{.activationToken = "portal token 7f1c2a90-aa3e-4d34"};
    prepareSummonActivation(panel, request);
    showFloatingPanel(panel);
    activateSummonedWindow(panel, request);
    ASSERT_TRUE(runUntil([&] { return panel.isActiveWindow(); }))
        << "without a window manager the request is simply granted";

    const auto id = static_cast<uint32_t>(panel.winId());
    EXPECT_EQ(other.propertyText(id, other.atom("_NET_STARTUP_ID")), request.activationToken);
    EXPECT_TRUE(runUntil(
        [&] { return desktop.message() == R"(remove: ID="portal token 7f1c2a90-aa3e-4d34")"; }));
}

}  // namespace
}  // namespace glintdeck
