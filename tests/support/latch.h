#pragma once

#include <condition_variable>
#include <mutex>

namespace glintdeck {

// A one-shot latch on a mutex and condition variable. libstdc++ 12's std::latch waits through
// a shared proxy futex and was seen to sleep forever after the count reached zero, which turned
// timing-free tests into hangs.
class Latch final {
  public:
    explicit Latch(int count) : count_(count) {}

    void countDown() {
        std::lock_guard lock(mutex_);
        if (count_ > 0 && --count_ == 0) reached_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        reached_.wait(lock, [this] { return count_ == 0; });
    }
    void arriveAndWait() {
        countDown();
        wait();
    }

  private:
    std::mutex mutex_;
    std::condition_variable reached_;
    int count_;
};

}  // namespace glintdeck
