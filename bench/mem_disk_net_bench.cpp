// What one tick of the memory, disk and network samplers reads, on this machine's /proc and
// /sys, each beside a peer: the same read done the obvious way.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "platform/linux/diskstats_reader.h"
#include "platform/linux/interface_address_list.h"
#include "platform/linux/linux_network_source.h"
#include "platform/linux/meminfo_reader.h"
#include "platform/linux/proc_net_parsers.h"
#include "platform/linux/statvfs_reader.h"

namespace glintdeck {
namespace {

void BM_MemoryTick(benchmark::State& state) {
    MeminfoReader reader("/");
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.statistics());
        benchmark::DoNotOptimize(reader.pageSize());
        benchmark::DoNotOptimize(reader.physicalMemory());
    }
}
BENCHMARK(BM_MemoryTick);

// Peer: opening /proc/meminfo afresh for every reading.
void BM_MeminfoReopened(benchmark::State& state) {
    std::array<char, 8192> buffer{};
    for (auto _ : state) {
        int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
        ssize_t length = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        benchmark::DoNotOptimize(
            parseMeminfo(std::string_view(buffer.data(), length > 0 ? length : 0)));
    }
}
BENCHMARK(BM_MeminfoReopened);

void BM_DiskTick(benchmark::State& state) {
    StatvfsReader space("/");
    DiskstatsReader drives("/");
    std::vector<std::optional<DriveStatistics>> tables;
    for (auto _ : state) {
        benchmark::DoNotOptimize(space.rootFileSystem());
        benchmark::DoNotOptimize(drives.readDrives(tables));
    }
}
BENCHMARK(BM_DiskTick);

// Peer: choosing the disks through /sys/block on every tick instead of when names change.
void BM_DiskstatsChoosingEveryTick(benchmark::State& state) {
    std::vector<std::optional<DriveStatistics>> tables;
    for (auto _ : state) {
        DiskstatsReader drives("/");
        benchmark::DoNotOptimize(drives.readDrives(tables));
    }
}
BENCHMARK(BM_DiskstatsChoosingEveryTick);

void BM_NetworkTick(benchmark::State& state) {
    LinuxNetworkSource source("/", std::make_unique<GetifaddrsList>());
    std::vector<InterfaceAddress> list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(source.interfaceAddresses(list));
        benchmark::DoNotOptimize(source.preferredInterface());
    }
}
BENCHMARK(BM_NetworkTick);

// Peers: the address list alone, which dominates, and the counters alone.
void BM_GetifaddrsAlone(benchmark::State& state) {
    GetifaddrsList list;
    for (auto _ : state) benchmark::DoNotOptimize(list.read());
}
BENCHMARK(BM_GetifaddrsAlone);

void BM_ProcNetDevAlone(benchmark::State& state) {
    KernelFile file("/proc/net/dev");
    std::vector<NetDevRow> rows;
    for (auto _ : state) {
        parseNetDev(file.read().value_or(""), rows);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_ProcNetDevAlone);

}  // namespace
}  // namespace glintdeck
