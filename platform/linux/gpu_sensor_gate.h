#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/linux/gpu_read_schedule.h"

namespace glintdeck {

// One sensor of a GPU, read as the card's schedule allows: on the card's turn, its last reading
// held in between, nothing while the card sleeps. Without a schedule (a sensor that is not a
// GPU's) every call reads.
template <typename Value>
class GpuSensorGate final {
  public:
    GpuSensorGate() = default;
    GpuSensorGate(std::shared_ptr<GpuReadSchedule> schedule, std::string deviceDirectory)
        : schedule_(std::move(schedule)), deviceDirectory_(std::move(deviceDirectory)) {}

    // readNow: () -> std::optional<Value>, the actual read.
    template <typename Read>
    [[nodiscard]] std::optional<Value> read(Read&& readNow) {
        if (!schedule_) return readNow();
        switch (schedule_->turn(deviceDirectory_)) {
            case GpuReadSchedule::Turn::asleep:
                held_.reset();
                return std::nullopt;
            case GpuReadSchedule::Turn::hold:
                return held_;
            case GpuReadSchedule::Turn::read:
                held_ = readNow();
                return held_;
        }
        return std::nullopt;
    }

  private:
    std::shared_ptr<GpuReadSchedule> schedule_;
    std::string deviceDirectory_;
    std::optional<Value> held_;
};

}  // namespace glintdeck
