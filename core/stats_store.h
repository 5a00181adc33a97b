#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/change_notifier.h"
#include "core/interval_source.h"
#include "core/main_thread.h"
#include "core/ring_buffer.h"
#include "core/sampler_factory.h"
#include "core/samples.h"
#include "core/stat_kind.h"

namespace glintdeck {

// The fields whose changes the store announces: first the latest sample of each kind, at the
// kind's index (sampleField), then the rest.
enum class StoreField : size_t {
    topProcesses = kStatKindCount,
    isRunning,
    cpuHistory,
    memoryHistory,
    diskHistory,
    networkHistory,
    gpuHistory,
    samplers,
    panelVisible,
};

[[nodiscard]] constexpr StoreField sampleField(StatKind kind) {
    return static_cast<StoreField>(kindIndex(kind));
}

// The smoothed peak of one graph series and the history revision it was computed at.
struct PeakState {
    double value = 0;
    int64_t revision = -1;
    bool operator==(const PeakState&) const = default;
};

// The single source of live data: owns the samplers, keeps the latest sample of every kind and a
// minute of history for the five graphed kinds, and the display memory that must survive from
// one render to the next (graph peaks, last bands). Main thread only: samplers reach it through
// MainThread::post, and a sample that arrives after the store is gone is dropped.
class StatsStore final {
  public:
    // The three collaborators must outlive the store.
    StatsStore(MainThread& mainThread, SamplerFactory& factory, const IntervalSource& interval);
    ~StatsStore();

    StatsStore(const StatsStore&) = delete;
    StatsStore& operator=(const StatsStore&) = delete;

    // Starts every sampler afresh with new, empty histories sized for one minute at the current
    // interval. Does nothing while running.
    void start();
    // Stops and drops every sampler; samples, histories and display memory stay.
    void stop();

    [[nodiscard]] bool panelVisible() const { return panelVisible_; }
    // The top-process sampler runs only while the panel is visible; hiding empties its list.
    void setPanelVisible(bool visible);

    // The peak to scale a graph series with: follows a new maximum at once, holds while the same
    // sample is re-rendered, and decays by at most 10% per new sample.
    double peak(StatKind kind, std::string_view series, double observed);

    [[nodiscard]] Subscription subscribe(ChangeNotifier<StoreField>::Callback callback) {
        return notifier_.subscribe(std::move(callback));
    }

    [[nodiscard]] const CPUSample& cpu() const { return cpu_; }
    [[nodiscard]] const MemorySample& memory() const { return memory_; }
    [[nodiscard]] const DiskSample& disk() const { return disk_; }
    [[nodiscard]] const NetworkSample& network() const { return network_; }
    [[nodiscard]] const BatterySample& battery() const { return battery_; }
    [[nodiscard]] const GPUSample& gpu() const { return gpu_; }
    [[nodiscard]] const FanSample& fan() const { return fan_; }
    [[nodiscard]] const PowerSample& power() const { return power_; }
    [[nodiscard]] const TemperatureSample& temps() const { return temps_; }
    [[nodiscard]] const LoadSample& loadAverage() const { return loadAverage_; }
    [[nodiscard]] const UptimeSample& uptime() const { return uptime_; }
    [[nodiscard]] const TopProcessesSample& topProcesses() const { return topProcesses_; }
    [[nodiscard]] bool isRunning() const { return isRunning_; }

    [[nodiscard]] const RingBuffer<CPUSample>& cpuHistory() const { return cpuHistory_; }
    [[nodiscard]] const RingBuffer<MemorySample>& memoryHistory() const { return memoryHistory_; }
    [[nodiscard]] const RingBuffer<DiskSample>& diskHistory() const { return diskHistory_; }
    [[nodiscard]] const RingBuffer<NetworkSample>& networkHistory() const {
        return networkHistory_;
    }
    [[nodiscard]] const RingBuffer<GPUSample>& gpuHistory() const { return gpuHistory_; }

    // Samples appended to each graphed kind's history since the last start.
    [[nodiscard]] const std::map<StatKind, int64_t>& historyRevisions() const {
        return historyRevisions_;
    }
    [[nodiscard]] const std::map<std::string, PeakState>& peakStates() const { return peakStates_; }
    // The band last given to each kind; written while rendering, so never announced.
    [[nodiscard]] std::map<StatKind, Band>& lastBands() { return lastBands_; }
    [[nodiscard]] const std::map<StatKind, Band>& lastBands() const { return lastBands_; }

    // History capacity for an interval: one minute of samples, intervals under 0.1 s counting
    // as 0.1 s.
    [[nodiscard]] static std::ptrdiff_t historyCapacity(double interval);

    // The kind's sampler while running; null when stopped or when the factory has none.
    [[nodiscard]] const std::shared_ptr<Sampler>& sampler(StatKind kind) const {
        return samplers_[kindIndex(kind)];
    }
    [[nodiscard]] const std::shared_ptr<Sampler>& topProcessSampler() const {
        return samplers_[kTopProcessSamplerSlot];
    }

  private:
    template <typename Sample>
    SamplerFactory::OnSample<Sample> deliverTo(void (StatsStore::*apply)(const Sample&));

    template <typename Sample>
    void assign(Sample& field, const Sample& sample, StoreField changed);
    template <typename Sample>
    void record(Sample& field, RingBuffer<Sample>& history, const Sample& sample, StatKind kind,
                StoreField changedHistory);

    void applyCPU(const CPUSample& s);
    void applyMemory(const MemorySample& s);
    void applyDisk(const DiskSample& s);
    void applyNetwork(const NetworkSample& s);
    void applyBattery(const BatterySample& s);
    void applyGPU(const GPUSample& s);
    void applyFan(const FanSample& s);
    void applyPower(const PowerSample& s);
    void applyTemps(const TemperatureSample& s);
    void applyLoadAverage(const LoadSample& s);
    void applyUptime(const UptimeSample& s);
    void applyTopProcesses(const TopProcessesSample& s);

    MainThread& mainThread_;
    SamplerFactory& factory_;
    const IntervalSource& interval_;
    ChangeNotifier<StoreField> notifier_;
    // Sample tasks hold this weakly: once the store is gone they do nothing.
    std::shared_ptr<StatsStore*> liveness_ = std::make_shared<StatsStore*>(this);

    CPUSample cpu_ = CPUSample::empty();
    MemorySample memory_ = MemorySample::empty();
    DiskSample disk_ = DiskSample::empty();
    NetworkSample network_ = NetworkSample::empty();
    BatterySample battery_ = BatterySample::empty();
    GPUSample gpu_ = GPUSample::empty();
    FanSample fan_ = FanSample::empty();
    PowerSample power_ = PowerSample::empty();
    TemperatureSample temps_ = TemperatureSample::empty();
    LoadSample loadAverage_ = LoadSample::empty();
    UptimeSample uptime_ = UptimeSample::empty();
    TopProcessesSample topProcesses_ = TopProcessesSample::empty();
    bool isRunning_ = false;

    RingBuffer<CPUSample> cpuHistory_{1};
    RingBuffer<MemorySample> memoryHistory_{1};
    RingBuffer<DiskSample> diskHistory_{1};
    RingBuffer<NetworkSample> networkHistory_{1};
    RingBuffer<GPUSample> gpuHistory_{1};

    std::map<std::string, PeakState> peakStates_;
    std::map<StatKind, int64_t> historyRevisions_;
    std::array<std::shared_ptr<Sampler>, kSamplerCount> samplers_;
    bool panelVisible_ = false;
    std::map<StatKind, Band> lastBands_;
};

}  // namespace glintdeck
