#include "platform/linux/gpu_energy_counters.h"

#include "platform/linux/sysfs_attribute.h"

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

PowerIntegratingCounter::PowerIntegratingCounter(const std::string& powerPath,
                                                 std::shared_ptr<const Clock> clock)
    : file_(powerPath, kLargestAttribute), clock_(std::move(clock)) {}

std::optional<uint64_t> PowerIntegratingCounter::read() {
    std::optional<std::string_view> text = file_.read();
    std::optional<int64_t> microwatts = text ? parseAttributeInteger(*text) : std::nullopt;
    if (!microwatts || *microwatts < 0) return std::nullopt;
    double now = clock_->secondsSinceBoot();
    if (lastReadAt_ && now > *lastReadAt_) {
        microjoules_ += static_cast<double>(*microwatts) * (now - *lastReadAt_);
    }
    lastReadAt_ = now;
    return static_cast<uint64_t>(microjoules_);
}

}  // namespace glintdeck
