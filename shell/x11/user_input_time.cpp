#include "shell/x11/user_input_time.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QCoreApplication>

#include "shell/x11/x11_connection.h"

namespace glintdeck {

std::unique_ptr<UserInputTime> UserInputTime::install() {
    xcb_connection_t* conn = x11::connection();
    if (conn == nullptr) {
        return nullptr;
    }
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(conn, &xcb_input_id);
    const uint8_t opcode = xinput != nullptr && xinput->present ? xinput->major_opcode : 0;
    std::unique_ptr<UserInputTime> time(new UserInputTime(opcode));
    QCoreApplication::instance()->installNativeEventFilter(time.get());
    return time;
}

bool UserInputTime::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
        case XCB_KEY_PRESS:
            last_ = static_cast<const xcb_key_press_event_t*>(message)->time;
            break;
        case XCB_BUTTON_PRESS:
            last_ = static_cast<const xcb_button_press_event_t*>(message)->time;
            break;
        case XCB_GE_GENERIC: {
            // Qt takes the pointer through XInput 2 where the server has it. Only presses on our
            // windows count, not the raw presses anywhere that click-away listens to.
            const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
            if (xinputOpcode_ != 0 && generic->extension == xinputOpcode_ &&
                generic->event_type == XCB_INPUT_BUTTON_PRESS) {
                last_ = static_cast<const xcb_input_button_press_event_t*>(message)->time;
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace glintdeck
