#include "alerts/machine_watches.h"

#include <utility>

#include "presentation/byte_text.h"
#include "presentation/number_text.h"
#include "presentation/stat_kind_text.h"

namespace glintdeck {
namespace {

constexpr double kOverheatingHold = 30;
constexpr double kRunawayHold = 5 * 60;
constexpr double kPressureHold = 30;

bool throttling(ThermalState state) {
    return state == ThermalState::serious || state == ThermalState::critical;
}

}  // namespace

MachineWatches::MachineWatches(int processorCount, std::string decimalSeparator, double timeScale)
    : processorCount_(processorCount > 0 ? processorCount : 1),
      decimalSeparator_(std::move(decimalSeparator)),
      timeScale_(timeScale) {
    for (AlertWatch watch : kAllAlertWatches) resetEpisode(watch);
}

EpisodeTimes MachineWatches::scaled(double holdFor) const {
    const EpisodeTimes standard;
    return {holdFor * timeScale_, standard.clearFor * timeScale_, standard.quietFor * timeScale_};
}

void MachineWatches::resetEpisode(AlertWatch watch) {
    switch (watch) {
        case AlertWatch::overheating:
            episodes_[watchIndex(watch)].emplace(scaled(kOverheatingHold));
            return;
        case AlertWatch::runawayProcess:
            runaway_.reset();
            episodes_[watchIndex(watch)].emplace(scaled(kRunawayHold));
            return;
        case AlertWatch::memoryPressure:
            pressureHigh_ = false;
            episodes_[watchIndex(watch)].emplace(scaled(kPressureHold));
            return;
    }
}

void MachineWatches::setEnabled(AlertWatch watch, bool enabled) {
    if (std::exchange(enabled_[watchIndex(watch)], enabled) && !enabled) resetEpisode(watch);
}

std::optional<Alert> MachineWatches::observeThermal(const TemperatureSample& sample, double now,
                                                    bool stripShown) {
    if (!enabled(AlertWatch::overheating)) return std::nullopt;
    if (!episodes_[watchIndex(AlertWatch::overheating)]->update(throttling(sample.thermalState),
                                                                now, stripShown)) {
        return std::nullopt;
    }
    std::string body = "Thermal state " + std::string(thermalStateName(sample.thermalState)) +
                       ": the processor is slowing down to cool";
    for (const TempReading& reading : sample.sensors) {
        if (reading.label == "CPU") body += " · CPU " + temperatureText(reading.celsius);
    }
    return Alert{AlertWatch::overheating, StatKind::temps, "The processor is overheating",
                 std::move(body)};
}

std::vector<Alert> MachineWatches::observeWatchSample(const WatchSample& sample, bool onBattery,
                                                      double now, bool stripShown) {
    std::vector<Alert> alerts;
    if (enabled(AlertWatch::runawayProcess)) {
        const std::optional<WatchedProcess>& busiest = sample.busiest;
        const bool busy = busiest && busiest->value >= kWholeCorePercent;
        AlertEpisode& episode = *episodes_[watchIndex(AlertWatch::runawayProcess)];
        // Another process taking over starts the hold again: the five minutes are one
        // process's.
        if (busy && runaway_ && !runaway_->sameProcess(*busiest)) {
            (void)episode.update(false, now, stripShown);
        }
        runaway_ = busy ? busiest : std::nullopt;
        if (episode.update(busy, now, stripShown)) {
            std::string body =
                processCPUText(busiest->value, decimalSeparator_) + " of a core for 5 minutes";
            body += onBattery ? ", draining the battery" : "";
            alerts.push_back({AlertWatch::runawayProcess, StatKind::cpu,
                              busiest->name + " is using a whole processor core", body});
        }
    }
    pressureHigh_ = sample.memoryPressure && *sample.memoryPressure > kMemoryPressureThreshold;
    if (enabled(AlertWatch::memoryPressure) && sample.memoryPressure &&
        episodes_[watchIndex(AlertWatch::memoryPressure)]->update(pressureHigh_, now, stripShown)) {
        std::string body = "Programs waited for memory " + percentText(*sample.memoryPressure) +
                           " of the last minute";
        if (sample.largest) {
            body += " · most memory: " + sample.largest->name + " " +
                    processMemoryText(sample.largest->value, decimalSeparator_);
        }
        alerts.push_back(
            {AlertWatch::memoryPressure, StatKind::memory, "Memory is running short", body});
    }
    return alerts;
}

bool MachineWatches::wantsProcessScan(double cpuTotalPercent) const {
    const bool coreBusy = cpuTotalPercent * processorCount_ >= kWholeCorePercent;
    return (enabled(AlertWatch::runawayProcess) && coreBusy) ||
           (enabled(AlertWatch::memoryPressure) && pressureHigh_);
}

}  // namespace glintdeck
