#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace glintdeck {

// Ends a subscription when destroyed; outliving the notifier is harmless.
class Subscription final {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    ~Subscription() { reset(); }
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    void reset() {
        if (cancel_) std::exchange(cancel_, {})();
    }

  private:
    std::function<void()> cancel_;
};

// Tells subscribers which tracked field changed. Main thread only. A subscriber may unsubscribe,
// or subscribe others, from inside its callback; those changes apply from the next notification.
template <typename Field>
class ChangeNotifier final {
  public:
    using Callback = std::function<void(Field)>;

    [[nodiscard]] Subscription subscribe(Callback callback) {
        int id = state_->nextId++;
        state_->callbacks.emplace(id, std::make_shared<Callback>(std::move(callback)));
        return Subscription([weak = std::weak_ptr<State>(state_), id] {
            if (auto state = weak.lock()) state->callbacks.erase(id);
        });
    }

    void notify(Field field) const {
        auto callbacks = state_->callbacks;  // a callback may change the set
        for (auto& [id, callback] : callbacks) {
            if (state_->callbacks.contains(id)) (*callback)(field);
        }
    }

  private:
    struct State {
        int nextId = 0;
        std::map<int, std::shared_ptr<Callback>> callbacks;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace glintdeck
