#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct _XDisplay;
struct xcb_connection_t;

namespace glintdeck::testing {

// Another X client on the test server: it holds key grabs of its own, fakes key presses and
// clicks through XTEST (as a user's hardware would), and reads properties. Its requests are
// independent of the application's connection, as another program's would be.
class OtherClient {
  public:
    OtherClient();
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    [[nodiscard]] xcb_connection_t* connection() const { return connection_; }
    [[nodiscard]] uint32_t root() const { return root_; }

    // A checked passive grab on the root window; true when the server granted it.
    [[nodiscard]] bool grab(uint8_t keycode, uint16_t modifiers);
    void ungrab(uint8_t keycode, uint16_t modifiers);
    // Grabs and at once releases: true when nobody else holds the combination.
    [[nodiscard]] bool canGrab(uint8_t keycode, uint16_t modifiers);

    // Presses the keys in order and releases them in reverse, like a typed combination.
    void typeCombination(std::initializer_list<uint8_t> keycodes);
    void key(uint8_t keycode, bool down);
    void movePointer(int x, int y);
    void button(unsigned button, bool down);
    void click(unsigned button, int x, int y);

    // Maps a plain window of this client at the place (without a window manager: exactly there,
    // above every window mapped before it), and unmaps and destroys it again.
    [[nodiscard]] uint32_t openWindow(int x, int y, int width, int height);
    void closeWindow(uint32_t window);
    // An open window that has the keyboard, as the editor a user types in.
    uint32_t showFocusedWindow(int x, int y, int width, int height);
    void focus(uint32_t window);
    [[nodiscard]] uint32_t focusedWindow();

    [[nodiscard]] std::vector<uint32_t> property32(uint32_t window, const std::string& name);
    [[nodiscard]] std::string propertyText(uint32_t window, uint32_t property);
    [[nodiscard]] uint32_t atom(const std::string& name);

    // Waits until the server has processed everything sent so far.
    void sync();

  private:
    _XDisplay* display_;
    xcb_connection_t* connection_;
    uint32_t root_;
};

// Xvfb's default keymap (evdev rules, pc105, us): X keycodes and modifier bits.
namespace keys {
inline constexpr uint8_t q = 24;
inline constexpr uint8_t p = 33;
inline constexpr uint8_t escape = 9;
inline constexpr uint8_t control = 37;
inline constexpr uint8_t alt = 64;
inline constexpr uint8_t super = 133;
inline constexpr uint8_t capsLock = 66;
inline constexpr uint8_t numLock = 77;
inline constexpr uint16_t lockMask = 2;
inline constexpr uint16_t controlMask = 4;
inline constexpr uint16_t altMask = 8;       // Mod1
inline constexpr uint16_t numLockMask = 16;  // Mod2
inline constexpr uint16_t mod3Mask = 32;
inline constexpr uint16_t superMask = 64;  // Mod4
}  // namespace keys

}  // namespace glintdeck::testing

namespace glintdeck::testing {

// Events reach the application in the order the server sent them. A barrier is a hot key
// pressed after the events under test: once its handler has run, every earlier event has been
// handled too, so a test can check that something did not happen without waiting for time.
class EventBarrier {
  public:
    explicit EventBarrier(OtherClient& other);
    ~EventBarrier();
    // Presses the barrier key and runs the event loop until its handler has run.
    [[nodiscard]] bool pass();

  private:
    OtherClient& other_;
    struct Slot;
    Slot* slot_;
    int passed_ = 0;
};

}  // namespace glintdeck::testing
