#include <algorithm>

#include "presentation/byte_text.h"
#include "presentation/descriptors.h"
#include "presentation/number_text.h"
#include "presentation/stat_kind_text.h"
#include "presentation/stat_loads.h"
#include "presentation/tile_value.h"
#include "presentation/widest_text.h"

namespace glintdeck {
namespace {

constexpr size_t kProcessRows = 10;

StatDescriptor started(StatKind kind) {
    return StatDescriptor{.kind = kind, .symbol = std::string(symbolName(kind))};
}

void setSingleValue(StatDescriptor& d, double percent) {
    d.value = percentText(percent);
    d.widestValue = std::string(kWidestPercent);
    d.loadPercent = percent;
}

void setTwoValues(StatDescriptor& d, const AppSettings& settings, std::string firstText,
                  std::string secondText) {
    TwoValueNames names = *twoValueNames(d.kind);
    names.first.text = std::move(firstText);
    names.second.text = std::move(secondText);
    CombinedValues combined =
        combineValues(settings.tileValueMode(d.kind), names.first, names.second);
    d.value = std::move(combined.value);
    d.widestValue = std::move(combined.widestValue);
    d.secondaryValue = std::move(combined.secondaryValue);
    d.widestSecondaryValue = std::move(combined.widestSecondaryValue);
}

// The first reading with exactly this label, as the detail rows of cpu and gpu show it.
std::optional<double> temperature(const TemperatureSample& temps, std::string_view label) {
    for (const TempReading& reading : temps.sensors) {
        if (reading.label == label) return reading.celsius;
    }
    return std::nullopt;
}

template <typename Sample, typename Value>
std::vector<double> series(const RingBuffer<Sample>& history, Value value) {
    std::vector<double> values;
    const std::vector<Sample> ordered = history.ordered();
    values.reserve(ordered.size());
    for (const Sample& sample : ordered) values.push_back(value(sample));
    return values;
}

double usedShare(const MemorySample& s) {
    if (s.totalBytes == 0) return 0;
    return static_cast<double>(s.usedBytes) / static_cast<double>(s.totalBytes) * 100;
}

GraphSeries percentSeries(std::vector<double> values, std::string label) {
    return GraphSeries{.values = std::move(values), .label = std::move(label), .peak = 100};
}

// A byte-rate series scaled against the store's tracked peak for it.
GraphSeries rateSeries(StatsStore& store, StatKind kind, std::string_view name,
                       std::vector<double> values, std::string label, std::string marker,
                       const DescriptorEnvironment& environment) {
    double observed = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    double peak = store.peak(kind, name, observed);
    return GraphSeries{.values = std::move(values),
                       .label = std::move(label),
                       .marker = std::move(marker),
                       .peak = peak > 0 ? peak : 1,
                       .peakFormatted = formatRate(peak, environment.decimalSeparator)};
}

template <typename Row>
std::optional<StatDescriptor::ProcessSection> processSection(const std::vector<ProcStat>& list,
                                                             std::string title, Row row) {
    if (list.empty()) return std::nullopt;
    StatDescriptor::ProcessSection section{.title = std::move(title)};
    for (size_t i = 0; i < list.size() && i < kProcessRows; ++i) {
        section.rows.emplace_back(list[i].name, row(list[i].value));
    }
    return section;
}

StatDescriptor cpuDescriptor(const StatsStore& store, const DescriptorEnvironment& environment,
                             bool detailed) {
    const CPUSample& cpu = store.cpu();
    StatDescriptor d = started(StatKind::cpu);
    setSingleValue(d, cpu.totalUsagePercent);
    if (detailed) {
        d.detail = {{"User", percentText(cpu.userPercent)},
                    {"System", percentText(cpu.systemPercent)},
                    {"Idle", percentText(cpu.idlePercent)}};
        if (auto celsius = temperature(store.temps(), "CPU")) {
            d.detail.emplace_back("Temp", temperatureText(*celsius));
        }
        d.processSection = processSection(store.topProcesses().byCPU, "Top by CPU", [&](double v) {
            return processCPUText(v, environment.decimalSeparator);
        });
    }
    d.graph = GraphData{
        .upper = percentSeries(
            series(store.cpuHistory(), [](const CPUSample& s) { return s.totalUsagePercent; }),
            "CPU")};
    return d;
}

StatDescriptor memoryDescriptor(const StatsStore& store, const AppSettings& settings,
                                const DescriptorEnvironment& environment, bool detailed) {
    const MemorySample& memory = store.memory();
    const std::string_view separator = environment.decimalSeparator;
    const uint64_t free =
        memory.usedBytes > memory.totalBytes ? 0 : memory.totalBytes - memory.usedBytes;
    StatDescriptor d = started(StatKind::memory);
    setTwoValues(d, settings, memoryByteText(memory.usedBytes, separator),
                 memoryByteText(free, separator));
    d.loadPercent = memory.pressurePercent;
    if (detailed) {
        d.detail = {{"Used", memoryByteText(memory.usedBytes, separator)},
                    {"Free", memoryByteText(free, separator)},
                    {"App", memoryByteText(memory.appBytes, separator)},
                    {"Wired", memoryByteText(memory.wiredBytes, separator)},
                    {"Compressed", memoryByteText(memory.compressedBytes, separator)},
                    {"Total", memoryByteText(memory.totalBytes, separator)},
                    {"Pressure", percentText(memory.pressurePercent)}};
        d.processSection =
            processSection(store.topProcesses().byMemory, "Top by memory",
                           [&](double v) { return processMemoryText(v, separator); });
    }
    d.graph = GraphData{.upper = percentSeries(series(store.memoryHistory(), usedShare), "Used")};
    return d;
}

StatDescriptor diskDescriptor(StatsStore& store, const AppSettings& settings,
                              const DescriptorEnvironment& environment, bool detailed) {
    const DiskSample& disk = store.disk();
    const std::string_view separator = environment.decimalSeparator;
    StatDescriptor d = started(StatKind::disk);
    setTwoValues(d, settings, fileByteText(disk.freeBytes, separator),
                 fileByteText(disk.usedBytes, separator));
    if (detailed) {
        d.detail = {{"Used", fileByteText(disk.usedBytes, separator)},
                    {"Free", fileByteText(disk.freeBytes, separator)},
                    {"Total", fileByteText(disk.totalBytes, separator)},
                    {"Read", formatRate(disk.readBytesPerSec, separator)},
                    {"Write", formatRate(disk.writeBytesPerSec, separator)}};
    }
    d.loadPercent = diskLoadPercent(disk.usedBytes, disk.totalBytes);
    GraphSeries read = rateSeries(
        store, StatKind::disk, "read",
        series(store.diskHistory(), [](const DiskSample& s) { return s.readBytesPerSec; }), "Read",
        "R", environment);
    GraphSeries write = rateSeries(
        store, StatKind::disk, "write",
        series(store.diskHistory(), [](const DiskSample& s) { return s.writeBytesPerSec; }),
        "Write", "W", environment);
    d.graph = GraphData{.upper = std::move(read), .lower = std::move(write)};
    return d;
}

StatDescriptor networkDescriptor(StatsStore& store, const AppSettings& settings,
                                 const DescriptorEnvironment& environment, bool detailed) {
    const NetworkSample& network = store.network();
    const std::string_view separator = environment.decimalSeparator;
    StatDescriptor d = started(StatKind::network);
    if (detailed) {
        d.detail = {{"Down", formatRate(network.downBytesPerSec, separator)},
                    {"Up", formatRate(network.upBytesPerSec, separator)}};
        if (network.interfaceName) d.detail.emplace_back("Interface", *network.interfaceName);
        if (network.localIP) d.detail.emplace_back("Local IP", *network.localIP);
    }
    setTwoValues(d, settings, formatRate(network.downBytesPerSec, separator),
                 formatRate(network.upBytesPerSec, separator));
    d.loadPercent = networkLoadPercent(network.downBytesPerSec, network.upBytesPerSec);
    // Upload above the baseline, download mirrored below it.
    GraphSeries up = rateSeries(
        store, StatKind::network, "up",
        series(store.networkHistory(), [](const NetworkSample& s) { return s.upBytesPerSec; }),
        "Up", "↑", environment);
    GraphSeries down = rateSeries(
        store, StatKind::network, "down",
        series(store.networkHistory(), [](const NetworkSample& s) { return s.downBytesPerSec; }),
        "Down", "↓", environment);
    d.graph = GraphData{.upper = std::move(up), .lower = std::move(down)};
    return d;
}

std::optional<StatDescriptor> gpuDescriptor(const StatsStore& store, bool detailed) {
    const GPUSample& gpu = store.gpu();
    if (!gpu.isAvailable) return std::nullopt;
    StatDescriptor d = started(StatKind::gpu);
    setSingleValue(d, gpu.utilizationPercent);
    if (detailed) {
        d.detail = {{"Utilization", percentText(gpu.utilizationPercent)}};
        if (gpu.deviceName) d.detail.emplace_back("Device", *gpu.deviceName);
        if (auto celsius = temperature(store.temps(), "GPU")) {
            d.detail.emplace_back("Temp", temperatureText(*celsius));
        }
    }
    d.graph = GraphData{
        .upper = percentSeries(
            series(store.gpuHistory(), [](const GPUSample& s) { return s.utilizationPercent; }),
            "GPU")};
    return d;
}

}  // namespace

std::optional<StatDescriptor> historyKindDescriptor(StatKind kind, StatsStore& store,
                                                    const AppSettings& settings,
                                                    const DescriptorEnvironment& environment,
                                                    bool detailed) {
    switch (kind) {
        case StatKind::cpu:
            return cpuDescriptor(store, environment, detailed);
        case StatKind::memory:
            return memoryDescriptor(store, settings, environment, detailed);
        case StatKind::disk:
            return diskDescriptor(store, settings, environment, detailed);
        case StatKind::network:
            return networkDescriptor(store, settings, environment, detailed);
        case StatKind::gpu:
            return gpuDescriptor(store, detailed);
        default:
            return std::nullopt;
    }
}

}  // namespace glintdeck
