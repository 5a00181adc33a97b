#pragma once

#include "core/main_thread.h"
#include "core/task_queue_main_thread.h"

namespace glintdeck {

// The Qt event loop as the main thread: posted tasks run in posting order on the application
// object's thread. The samplers that fall due together deliver from an executor worker that
// defers the wake until it has run them all (DeferredWakes), so a period's samples cost the loop
// one wakeup; a post from any other thread wakes it at once. Tasks posted after the application
// object is gone are dropped (samplers may still deliver while the program shuts down).
class QtMainThread final : public MainThread {
  public:
    QtMainThread();
    void post(Task task) override { tasks_.post(std::move(task)); }

  private:
    TaskQueueMainThread tasks_;
};

}  // namespace glintdeck
