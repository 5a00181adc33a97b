#include "alerts/machine_alerts.h"

#include <utility>

namespace glintdeck {

MachineAlerts::MachineAlerts(StatsStore& store, AppSettings& settings, MainThread& mainThread,
                             std::shared_ptr<const Clock> clock, MachineWatches watches,
                             MakeWatchSampler makeSampler, Send send)
    : store_(store),
      settings_(settings),
      mainThread_(mainThread),
      clock_(std::move(clock)),
      watches_(std::move(watches)),
      makeSampler_(std::move(makeSampler)),
      send_(std::move(send)) {}

MachineAlerts::~MachineAlerts() { stop(); }

void MachineAlerts::start() {
    settingsSubscription_ = settings_.subscribe([this](AppSettings::Field field) {
        if (field == AppSettings::Field::alerts) followSettings();
    });
    followSettings();
}

void MachineAlerts::stop() {
    settingsSubscription_.reset();
    if (sampler_) sampler_->stop();
    sampler_.reset();
}

void MachineAlerts::followSettings() {
    bool any = false;
    for (AlertWatch watch : kAllAlertWatches) {
        watches_.setEnabled(watch, settings_.alertEnabled(watch));
        any = any || settings_.alertEnabled(watch);
    }
    if (any && !sampler_ && makeSampler_) {
        sampler_ = makeSampler_(
            watches_.watchInterval(),
            [&mainThread = mainThread_,
             weak = std::weak_ptr<MachineAlerts*>(liveness_)](const WatchSample& sample) {
                mainThread.post([weak, sample] {
                    if (auto alerts = weak.lock()) (**alerts).observe(sample);
                });
            });
        if (sampler_) sampler_->start();
    } else if (!any && sampler_) {
        sampler_->stop();
        sampler_.reset();
    }
}

void MachineAlerts::observe(const WatchSample& sample) {
    const double now = clock_->secondsSinceBoot();
    const bool shown = store_.panelVisible();
    const BatterySample& battery = store_.battery();
    std::vector<Alert> alerts =
        watches_.observeWatchSample(sample, battery.isPresent && !battery.isOnAC, now, shown);
    if (std::optional<Alert> hot = watches_.observeThermal(store_.temps(), now, shown)) {
        alerts.push_back(std::move(*hot));
    }
    for (const Alert& alert : alerts) send_(alert);
    if (sampler_) {
        sampler_->setScanProcesses(watches_.wantsProcessScan(store_.cpu().totalUsagePercent));
    }
}

}  // namespace glintdeck
