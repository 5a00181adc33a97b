#pragma once

#include "core/main_thread.h"

namespace glintdeck {

// The Qt event loop as the main thread: a posted task runs as a queued call on the application
// object, in posting order. Tasks posted after the application object is gone are dropped
// (samplers may still deliver while the program shuts down).
class QtMainThread final : public MainThread {
  public:
    void post(Task task) override;
};

}  // namespace glintdeck
