#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/gpu_read_schedule.h"
#include "samplers/ioreport_power.h"

namespace glintdeck {

// A GPU's energy counter read as the card's schedule allows. Between the card's turns the
// energy goes on at the rate of its last two readings, so the power figure holds steady rather
// than dropping to nothing and then jumping; while the card sleeps there is no reading. Counts
// in the wrapped counter's unit, from 0, and never goes down.
class ScheduledEnergyCounter final : public EnergyCounter {
  public:
    ScheduledEnergyCounter(std::unique_ptr<EnergyCounter> counter,
                           std::shared_ptr<GpuReadSchedule> gpus, std::string deviceDirectory);
    [[nodiscard]] std::optional<uint64_t> read() override;

  private:
    std::unique_ptr<EnergyCounter> counter_;
    std::shared_ptr<GpuReadSchedule> gpus_;
    std::string deviceDirectory_;
    std::optional<uint64_t> lastReading_;
    double lastReadAt_ = 0;
    std::optional<double> rate_;  // units per second
    std::optional<double> countedUntil_;
    double total_ = 0;
};

}  // namespace glintdeck
