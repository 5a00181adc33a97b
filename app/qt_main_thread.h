#pragma once

#include "core/main_thread.h"
#include "core/task_queue_main_thread.h"

namespace glintdeck {

// The Qt event loop as the main thread: posted tasks run in posting order on the application
// object's thread, a burst of them (the samplers deliver together once a period) gathered into
// one run a few milliseconds after the first arrived, since each wakeup of the loop costs system
// calls. Tasks posted after the application object is gone are dropped (samplers may still
// deliver while the program shuts down).
class QtMainThread final : public MainThread {
  public:
    QtMainThread();
    void post(Task task) override { tasks_.post(std::move(task)); }

  private:
    TaskQueueMainThread tasks_;
};

}  // namespace glintdeck
