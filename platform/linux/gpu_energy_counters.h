#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/clock.h"
#include "platform/linux/gpu_read_schedule.h"
#include "platform/linux/kernel_file.h"
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

// Energy from a power reading, for cards that publish power but no energy counter (amdgpu's
// power1_average, or power1_input): each read adds the power now (µW) over the time since the
// previous read, in microjoules. power1_average is the driver's average over its own recent
// window, the best estimate of the interval just past.
class PowerIntegratingCounter final : public EnergyCounter {
  public:
    PowerIntegratingCounter(const std::string& powerPath, std::shared_ptr<const Clock> clock);
    [[nodiscard]] std::optional<uint64_t> read() override;

  private:
    KernelFile file_;
    std::shared_ptr<const Clock> clock_;
    std::optional<double> lastReadAt_;
    double microjoules_ = 0;
};

}  // namespace glintdeck
