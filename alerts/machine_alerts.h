#pragma once

#include <functional>
#include <memory>

#include "alerts/machine_watches.h"
#include "core/change_notifier.h"
#include "core/clock.h"
#include "core/main_thread.h"
#include "core/stats_store.h"
#include "samplers/watch_sampler.h"
#include "settings/app_settings.h"

namespace glintdeck {

// The watches of a running program: while any Alerts switch is on, a watch sampler reads every
// few seconds, and each of its readings, with the store's latest temperatures, processor load
// and battery, goes through the watches; what they answer is sent. The sampler scans processes
// only while the watches want it. Main thread only; the store, settings and main thread must
// outlive it.
class MachineAlerts final {
  public:
    using MakeWatchSampler =
        std::function<std::shared_ptr<WatchSampler>(double interval, WatchSampler::OnSample)>;
    using Send = std::function<void(const Alert&)>;

    MachineAlerts(StatsStore& store, AppSettings& settings, MainThread& mainThread,
                  std::shared_ptr<const Clock> clock, MachineWatches watches,
                  MakeWatchSampler makeSampler, Send send);
    ~MachineAlerts();
    MachineAlerts(const MachineAlerts&) = delete;
    MachineAlerts& operator=(const MachineAlerts&) = delete;

    // Follows the switches from now on; stop() ends the watching (idempotent).
    void start();
    void stop();

  private:
    void followSettings();
    void observe(const WatchSample& sample);

    StatsStore& store_;
    AppSettings& settings_;
    MainThread& mainThread_;
    std::shared_ptr<const Clock> clock_;
    MachineWatches watches_;
    MakeWatchSampler makeSampler_;
    Send send_;
    std::shared_ptr<WatchSampler> sampler_;
    Subscription settingsSubscription_;
    // Readings posted from the sampler's queue hold this weakly.
    std::shared_ptr<MachineAlerts*> liveness_ = std::make_shared<MachineAlerts*>(this);
};

}  // namespace glintdeck
