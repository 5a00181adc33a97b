#include "platform/linux/gpu_energy_counters.h"

namespace glintdeck {

ScheduledEnergyCounter::ScheduledEnergyCounter(std::unique_ptr<EnergyCounter> counter,
                                               std::shared_ptr<GpuReadSchedule> gpus,
                                               std::string deviceDirectory)
    : counter_(std::move(counter)),
      gpus_(std::move(gpus)),
      deviceDirectory_(std::move(deviceDirectory)) {}

std::optional<uint64_t> ScheduledEnergyCounter::read() {
    GpuReadSchedule::Turn turn = gpus_->turn(deviceDirectory_);
    double now = gpus_->clock()->secondsSinceBoot();
    if (turn == GpuReadSchedule::Turn::asleep) {
        // Time asleep is no interval of ours: start again from the next reading.
        lastReading_.reset();
        rate_.reset();
        countedUntil_.reset();
        return std::nullopt;
    }
    if (turn == GpuReadSchedule::Turn::read) {
        if (std::optional<uint64_t> reading = counter_->read()) {
            if (lastReading_ && now > lastReadAt_) {
                rate_ = static_cast<double>(counter_->delta(*lastReading_, *reading)) /
                        (now - lastReadAt_);
            }
            lastReading_ = reading;
            lastReadAt_ = now;
        }
    }
    if (rate_ && countedUntil_ && now > *countedUntil_) total_ += *rate_ * (now - *countedUntil_);
    countedUntil_ = now;
    return static_cast<uint64_t>(total_);
}

}  // namespace glintdeck
