#include "core/stats_store.h"

#include <algorithm>
#include <cmath>

namespace glintdeck {

StatsStore::StatsStore(MainThread& mainThread, SamplerFactory& factory,
                       const IntervalSource& interval)
    : mainThread_(mainThread), factory_(factory), interval_(interval) {}

StatsStore::~StatsStore() { stop(); }

std::ptrdiff_t StatsStore::historyCapacity(double interval) {
    // Written so that a NaN interval also counts as the shortest one.
    double period = interval > 0.1 ? interval : 0.1;
    return std::max<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>(std::ceil(60.0 / period)));
}

template <typename Sample>
SamplerFactory::OnSample<Sample> StatsStore::deliverTo(void (StatsStore::*apply)(const Sample&)) {
    // Runs on the sampler's queue: it only hops to the main thread.
    return [&mainThread = mainThread_, weak = std::weak_ptr<StatsStore*>(liveness_),
            apply](const Sample& sample) {
        mainThread.post([weak, apply, sample] {
            if (auto store = weak.lock()) ((**store).*apply)(sample);
        });
    };
}

void StatsStore::start() {
    if (isRunning_) return;
    isRunning_ = true;
    notifier_.notify(StoreField::isRunning);

    const double interval = interval_.interval();
    const std::ptrdiff_t capacity = historyCapacity(interval);
    cpuHistory_ = RingBuffer<CPUSample>(capacity);
    memoryHistory_ = RingBuffer<MemorySample>(capacity);
    diskHistory_ = RingBuffer<DiskSample>(capacity);
    networkHistory_ = RingBuffer<NetworkSample>(capacity);
    gpuHistory_ = RingBuffer<GPUSample>(capacity);
    for (StoreField history :
         {StoreField::cpuHistory, StoreField::memoryHistory, StoreField::diskHistory,
          StoreField::networkHistory, StoreField::gpuHistory}) {
        notifier_.notify(history);
    }
    peakStates_.clear();
    historyRevisions_.clear();

    std::array<std::shared_ptr<Sampler>, kSamplerCount> created;
    auto slot = [&created](StatKind kind) -> std::shared_ptr<Sampler>& {
        return created[kindIndex(kind)];
    };
    slot(StatKind::cpu) = factory_.makeCPUSampler(interval, deliverTo(&StatsStore::applyCPU));
    slot(StatKind::memory) =
        factory_.makeMemorySampler(interval, deliverTo(&StatsStore::applyMemory));
    slot(StatKind::disk) = factory_.makeDiskSampler(interval, deliverTo(&StatsStore::applyDisk));
    slot(StatKind::network) =
        factory_.makeNetworkSampler(interval, deliverTo(&StatsStore::applyNetwork));
    slot(StatKind::battery) =
        factory_.makeBatterySampler(interval, deliverTo(&StatsStore::applyBattery));
    slot(StatKind::gpu) = factory_.makeGPUSampler(interval, deliverTo(&StatsStore::applyGPU));
    slot(StatKind::fan) = factory_.makeFanSampler(interval, deliverTo(&StatsStore::applyFan));
    slot(StatKind::power) = factory_.makePowerSampler(interval, deliverTo(&StatsStore::applyPower));
    slot(StatKind::temps) =
        factory_.makeTemperatureSampler(interval, deliverTo(&StatsStore::applyTemps));
    slot(StatKind::loadAverage) =
        factory_.makeLoadAverageSampler(interval, deliverTo(&StatsStore::applyLoadAverage));
    slot(StatKind::uptime) =
        factory_.makeUptimeSampler(interval, deliverTo(&StatsStore::applyUptime));
    created[kTopProcessSamplerSlot] =
        factory_.makeTopProcessSampler(interval, deliverTo(&StatsStore::applyTopProcesses));
    for (StatKind kind : allStatKinds()) {
        if (slot(kind)) slot(kind)->start();
    }
    const auto& topProcess = created[kTopProcessSamplerSlot];
    if (panelVisible_ && topProcess) topProcess->start();
    samplers_ = std::move(created);
    notifier_.notify(StoreField::samplers);
}

void StatsStore::stop() {
    bool hadSamplers = false;
    for (auto& sampler : samplers_) {
        if (sampler) {
            sampler->stop();
            hadSamplers = true;
        }
    }
    samplers_ = {};
    if (hadSamplers) notifier_.notify(StoreField::samplers);
    if (isRunning_) {
        isRunning_ = false;
        notifier_.notify(StoreField::isRunning);
    }
}

void StatsStore::setPanelVisible(bool visible) {
    if (visible == panelVisible_) return;
    panelVisible_ = visible;
    notifier_.notify(StoreField::panelVisible);
    const auto& topProcess = samplers_[kTopProcessSamplerSlot];
    if (visible) {
        if (topProcess) topProcess->start();
    } else {
        if (topProcess) topProcess->stop();
        assign(topProcesses_, TopProcessesSample::empty(), StoreField::topProcesses);
    }
}

double StatsStore::peak(StatKind kind, std::string_view series, double observed) {
    std::string key = std::string(rawValue(kind)) + "." + std::string(series);
    auto revisionEntry = historyRevisions_.find(kind);
    const int64_t revision = revisionEntry == historyRevisions_.end() ? 0 : revisionEntry->second;
    auto stored = peakStates_.find(key);
    const PeakState old = stored == peakStates_.end() ? PeakState{} : stored->second;

    double result = observed;
    if (old.revision == revision) {
        result = std::max(observed, old.value);
    } else if (old.value > 0 && observed < old.value) {
        result = std::max(observed, 0.9 * old.value);
    }
    peakStates_[key] = PeakState{.value = result, .revision = revision};
    return result;
}

template <typename Sample>
void StatsStore::assign(Sample& field, const Sample& sample, StoreField changed) {
    if (field == sample) return;
    field = sample;
    notifier_.notify(changed);
}

template <typename Sample>
void StatsStore::record(Sample& field, RingBuffer<Sample>& history, const Sample& sample,
                        StatKind kind, StoreField changedHistory) {
    assign(field, sample, sampleField(kind));
    history.append(sample);
    ++historyRevisions_[kind];
    notifier_.notify(changedHistory);
}

void StatsStore::applyCPU(const CPUSample& s) {
    record(cpu_, cpuHistory_, s, StatKind::cpu, StoreField::cpuHistory);
}
void StatsStore::applyMemory(const MemorySample& s) {
    record(memory_, memoryHistory_, s, StatKind::memory, StoreField::memoryHistory);
}
void StatsStore::applyDisk(const DiskSample& s) {
    record(disk_, diskHistory_, s, StatKind::disk, StoreField::diskHistory);
}
void StatsStore::applyNetwork(const NetworkSample& s) {
    record(network_, networkHistory_, s, StatKind::network, StoreField::networkHistory);
}
void StatsStore::applyGPU(const GPUSample& s) {
    record(gpu_, gpuHistory_, s, StatKind::gpu, StoreField::gpuHistory);
}
void StatsStore::applyBattery(const BatterySample& s) {
    assign(battery_, s, sampleField(StatKind::battery));
}
void StatsStore::applyFan(const FanSample& s) { assign(fan_, s, sampleField(StatKind::fan)); }
void StatsStore::applyPower(const PowerSample& s) {
    assign(power_, s, sampleField(StatKind::power));
}
void StatsStore::applyTemps(const TemperatureSample& s) {
    assign(temps_, s, sampleField(StatKind::temps));
}
void StatsStore::applyLoadAverage(const LoadSample& s) {
    assign(loadAverage_, s, sampleField(StatKind::loadAverage));
}
void StatsStore::applyUptime(const UptimeSample& s) {
    assign(uptime_, s, sampleField(StatKind::uptime));
}
void StatsStore::applyTopProcesses(const TopProcessesSample& s) {
    assign(topProcesses_, s, StoreField::topProcesses);
}

}  // namespace glintdeck
