// What the presentation layer costs: the banded descriptor list for all eleven kinds over a full
// minute of history, with every detail row (the terminal report) and with none (one refresh of
// the strip), and each kind's descriptor alone, so a slow kind shows up by name.
#include <benchmark/benchmark.h>

#include <set>

#include "core/task_queue_main_thread.h"
#include "platform/linux/system_clock.h"
#include "presentation/descriptors.h"
#include "tests/support/fake_sampler_factory.h"

namespace glintdeck {
namespace {

// A running store holding a reading of every kind and a minute of history for the graphed
// ones, over settings with every kind enabled.
class FullStore {
  public:
    FullStore() {
        settings.setEnabledStats(std::set<StatKind>(allStatKinds().begin(), allStatKinds().end()));
        store.start();
        auto& run = factory_.runs.back();
        for (int second = 0; second < 60; ++second) {
            double wave = (second % 10) * 9.5;
            run.cpu(CPUSample{.totalUsagePercent = wave,
                              .userPercent = wave / 2,
                              .systemPercent = wave / 2,
                              .idlePercent = 100 - wave});
            run.memory(MemorySample{.usedBytes = 9'000'000'000 + second * 1'000'000ull,
                                    .totalBytes = 16'000'000'000,
                                    .pressurePercent = 40,
                                    .appBytes = 6'000'000'000,
                                    .wiredBytes = 2'000'000'000,
                                    .compressedBytes = 500'000'000});
            run.disk(DiskSample{.usedBytes = 300'000'000'000,
                                .freeBytes = 200'000'000'000,
                                .totalBytes = 500'000'000'000,
                                .readBytesPerSec = wave * 1e6,
                                .writeBytesPerSec = wave * 2e5});
            run.network(NetworkSample{.downBytesPerSec = wave * 3e4,
                                      .upBytesPerSec = wave * 1e3,
                                      .interfaceName = "Wi-Fi (wlp2s0)",
                                      .localIP = "192.168.1.20"});
            run.gpu(GPUSample{
                .isAvailable = true, .utilizationPercent = wave, .deviceName = "Radeon RX 6800"});
            mainThread_.runPending();
        }
        run.battery(BatterySample{.isPresent = true,
                                  .percent = 64,
                                  .minutesRemaining = 185,
                                  .healthPercent = 91,
                                  .cycleCount = 312,
                                  .temperatureC = 31.5});
        run.fan(FanSample{.hasFans = true, .fans = {{2400, 1200, 5000}, {2100, 1200, 5000}}});
        run.power(PowerSample{.isAvailable = true,
                              .cpuWatts = 12.5,
                              .gpuWatts = 30.2,
                              .dramWatts = 1.1,
                              .loadPercent = 35,
                              .systemWatts = 61.0});
        run.temps(TemperatureSample{.sensors = {{"CPU", 61.5}, {"GPU", 55}, {"SSD", 41}}});
        run.loadAverage(LoadSample{.one = 1.25, .five = 0.9, .fifteen = 0.7});
        run.uptime(UptimeSample{.seconds = 3 * 86400 + 5 * 3600});
        TopProcessesSample top;
        for (int i = 12; i > 0; --i) {
            top.byCPU.push_back({"process-" + std::to_string(i), i * 3.5});
            top.byMemory.push_back({"process-" + std::to_string(i), i * 150e6});
        }
        run.topProcesses(top);
        mainThread_.runPending();
    }

  private:
    TaskQueueMainThread mainThread_;
    FakeSamplerFactory factory_;

  public:
    AppSettings settings{PreferencesStore::inMemory()};
    StatsStore store{mainThread_, factory_, settings};
    DescriptorEnvironment environment{.decimalSeparator = ".",
                                      .processorCount = 8,
                                      .localeName = "en_US",
                                      .clock = std::make_shared<SystemClock>()};
};

void BM_DescriptorsAllEleven(benchmark::State& state) {
    FullStore full;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            descriptors(full.store, full.settings, full.environment, DetailKinds::all()));
}
BENCHMARK(BM_DescriptorsAllEleven)->Unit(benchmark::kMicrosecond);

// What the strip builds on every refresh: the tiles alone, no detail rows.
void BM_DescriptorsForTheStrip(benchmark::State& state) {
    FullStore full;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            descriptors(full.store, full.settings, full.environment, DetailKinds::none()));
}
BENCHMARK(BM_DescriptorsForTheStrip)->Unit(benchmark::kMicrosecond);

void BM_DescriptorOfKind(benchmark::State& state) {
    FullStore full;
    StatKind kind = allStatKinds()[static_cast<size_t>(state.range(0))];
    state.SetLabel(std::string(rawValue(kind)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            descriptor(kind, full.store, full.settings, full.environment, DetailKinds::all()));
}
BENCHMARK(BM_DescriptorOfKind)->DenseRange(0, 10)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glintdeck
