#include <benchmark/benchmark.h>

#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_stat_reader.h"
#include "tests/support/test_paths.h"

namespace glintdeck {
namespace {

void BM_ProcStatTick(benchmark::State& state) {
    ProcStatReader reader("/");
    for (auto _ : state) benchmark::DoNotOptimize(reader.read());
}
BENCHMARK(BM_ProcStatTick);

void BM_ProcStatParseManyCore(benchmark::State& state) {
    ProcStatReader reader(std::string(test_paths::kFixtures) + "/many-core");
    for (auto _ : state) benchmark::DoNotOptimize(reader.read());
}
BENCHMARK(BM_ProcStatParseManyCore);

void BM_LoadAverageTick(benchmark::State& state) {
    ProcLoadAverageReader reader("/");
    std::array<double, 3> values{};
    for (auto _ : state) benchmark::DoNotOptimize(reader.loadAverages(values));
}
BENCHMARK(BM_LoadAverageTick);

}  // namespace
}  // namespace glintdeck
