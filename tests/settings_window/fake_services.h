#pragma once

#include <functional>
#include <string>

#include "settings_window/settings_services.h"

namespace glintdeck {

// Stand-ins for the services the settings window is handed, for its tests and its gallery.

// A login item that counts the calls made to it.
class FakeLoginItem final : public LoginItem {
  public:
    bool enabled = false;
    std::string failure;  // non-empty: enable and disable fail with it
    int calls = 0;

    bool isEnabled() const override { return enabled; }
    Result enable() override { return change(true); }
    Result disable() override { return change(false); }

  private:
    Result change(bool on) {
        ++calls;
        if (!failure.empty()) return {false, failure};
        enabled = on;
        return {true, {}};
    }
};

// A Wayland desktop's keys, as the test sets them.
class FakeDesktopKeys final : public DesktopKeys {
  public:
    Status current;
    int configured = 0;
    ChangeNotifier<bool> notifier;

    void set(Status status) {
        current = std::move(status);
        notifier.notify(true);
    }
    [[nodiscard]] Status status() const override { return current; }
    void configure() override { ++configured; }
    [[nodiscard]] Subscription subscribe(std::function<void()> onChange) override {
        return notifier.subscribe([onChange = std::move(onChange)](bool) { onChange(); });
    }
};

}  // namespace glintdeck
