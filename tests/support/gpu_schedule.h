#pragma once

#include <memory>

#include "platform/linux/gpu_read_schedule.h"
#include "tests/support/manual_clock.h"

namespace glintdeck {

// The GPUs' read schedule on a clock the test holds, or on a clock that stands still.
inline std::shared_ptr<GpuReadSchedule> gpuSchedule(
    std::shared_ptr<const Clock> clock = std::make_shared<ManualClock>()) {
    return std::make_shared<GpuReadSchedule>(std::move(clock));
}

}  // namespace glintdeck
