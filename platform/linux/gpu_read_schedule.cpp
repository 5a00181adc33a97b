#include "platform/linux/gpu_read_schedule.h"

#include <filesystem>

#include "platform/linux/device_power.h"
#include "platform/linux/sysfs_attribute.h"

namespace glintdeck {
namespace {

// Drivers that do not use autosuspend give no delay; the NVIDIA driver powers an idle card
// down after about ten seconds.
constexpr double kDefaultAutosuspendSeconds = 10;
// Leaves the driver time to act on its timer before the next round.
constexpr double kSleepMarginSeconds = 2;

double autosuspendSeconds(const std::string& deviceDirectory) {
    std::optional<std::string> delay =
        readAttribute(deviceDirectory + "/power/autosuspend_delay_ms");
    std::optional<int64_t> milliseconds = delay ? parseAttributeInteger(*delay) : std::nullopt;
    return milliseconds && *milliseconds >= 0 ? static_cast<double>(*milliseconds) / 1000
                                              : kDefaultAutosuspendSeconds;
}

}  // namespace

GpuReadSchedule::GpuReadSchedule(std::shared_ptr<const Clock> clock) : clock_(std::move(clock)) {}

GpuReadSchedule::Card& GpuReadSchedule::card(const std::string& deviceDirectory) {
    auto [found, added] = cards_.try_emplace(deviceDirectory);
    Card& card = found->second;
    if (added) {
        // Runtime power management attributes belong to the PM core: reading them never
        // touches the device.
        card.control =
            std::make_unique<KernelFile>(deviceDirectory + "/power/control", kLargestAttribute);
        card.gapSeconds = autosuspendSeconds(deviceDirectory) + kSleepMarginSeconds;
        std::string busy = deviceDirectory + "/gpu_busy_percent";
        std::error_code error;
        if (std::filesystem::exists(busy, error)) {
            card.busyPercent = std::make_unique<KernelFile>(busy, kLargestAttribute);
        }
    }
    return card;
}

GpuReadSchedule::Turn GpuReadSchedule::turn(const std::string& deviceDirectory) {
    std::lock_guard lock(mutex_);
    Card& card = this->card(deviceDirectory);
    std::optional<std::string_view> control = card.control->read();
    card.maySleep = control && trimAttribute(*control) == "auto";
    if (!deviceIsAwake(deviceDirectory)) {
        // Whatever woke it next time, its first reading comes at once.
        card.roundStart.reset();
        card.busy = false;
        return Turn::asleep;
    }
    if (!card.maySleep) return Turn::read;
    double now = clock_->secondsSinceBoot();
    bool inRound =
        card.roundStart && now >= *card.roundStart && now - *card.roundStart < kRoundSeconds;
    if (inRound) return Turn::read;
    bool due =
        !card.roundStart || now - *card.roundStart >= card.gapSeconds || now < *card.roundStart;
    if (!due && !card.busy) return Turn::hold;
    card.roundStart = now;
    if (card.busyPercent) {
        std::optional<std::string_view> text = card.busyPercent->read();
        std::optional<int64_t> percent = text ? parseAttributeInteger(*text) : std::nullopt;
        card.busy = percent.value_or(0) > 0;
    }
    return Turn::read;
}

void GpuReadSchedule::reportBusy(const std::string& deviceDirectory, bool busy) {
    std::lock_guard lock(mutex_);
    card(deviceDirectory).busy = busy;
}

bool GpuReadSchedule::staysAwake(const std::string& deviceDirectory) {
    std::lock_guard lock(mutex_);
    Card& card = this->card(deviceDirectory);
    return !card.maySleep || card.busy;
}

}  // namespace glintdeck
