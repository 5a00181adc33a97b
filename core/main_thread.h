#pragma once

#include <functional>

namespace glintdeck {

// The one thread where all state lives (store, settings, views). Work arriving on other threads
// reaches it only through post(); tasks run in the order they were posted.
class MainThread {
  public:
    using Task = std::function<void()>;
    virtual ~MainThread() = default;

    // Callable from any thread; never runs the task inline.
    virtual void post(Task task) = 0;
};

}  // namespace glintdeck
