#include "cli/sample_json.h"

namespace glintdeck {
namespace {

using nlohmann::json;

template <typename T>
json optional(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

// A reading of hardware that may be absent: null without it, never a made-up 0.
json ifPresent(bool present, double value) { return present ? json(value) : json(nullptr); }

// Fans report their limits only where the controller knows them; 0 stands for none.
json reportedLimit(double rpm) { return rpm > 0 ? json(rpm) : json(nullptr); }

json processes(const std::vector<ProcStat>& list) {
    json rows = json::array();
    for (const ProcStat& process : list) {
        rows.push_back({{"name", process.name}, {"value", process.value}});
    }
    return rows;
}

}  // namespace

json samplesJson(const StatsStore& store) {
    const CPUSample& cpu = store.cpu();
    const MemorySample& memory = store.memory();
    const DiskSample& disk = store.disk();
    const NetworkSample& network = store.network();
    const BatterySample& battery = store.battery();
    const GPUSample& gpu = store.gpu();
    const PowerSample& power = store.power();
    const LoadSample& load = store.loadAverage();

    json fans = json::array();
    for (const FanSample::Fan& fan : store.fan().fans) {
        fans.push_back({{"current", fan.current},
                        {"min", reportedLimit(fan.min)},
                        {"max", reportedLimit(fan.max)}});
    }
    json sensors = json::array();
    for (const TempReading& reading : store.temps().sensors) {
        sensors.push_back({{"label", reading.label}, {"celsius", reading.celsius}});
    }

    return {
        {"cpu",
         {{"totalUsagePercent", cpu.totalUsagePercent},
          {"userPercent", cpu.userPercent},
          {"systemPercent", cpu.systemPercent},
          {"idlePercent", cpu.idlePercent}}},
        {"memory",
         {{"usedBytes", memory.usedBytes},
          {"totalBytes", memory.totalBytes},
          {"pressurePercent", memory.pressurePercent},
          {"appBytes", memory.appBytes},
          {"wiredBytes", memory.wiredBytes},
          {"compressedBytes", memory.compressedBytes}}},
        {"disk",
         {{"usedBytes", disk.usedBytes},
          {"freeBytes", disk.freeBytes},
          {"totalBytes", disk.totalBytes},
          {"readBytesPerSec", disk.readBytesPerSec},
          {"writeBytesPerSec", disk.writeBytesPerSec}}},
        {"network",
         {{"downBytesPerSec", network.downBytesPerSec},
          {"upBytesPerSec", network.upBytesPerSec},
          {"interfaceName", optional(network.interfaceName)},
          {"interface", optional(network.interfaceDevice)},
          {"localIP", optional(network.localIP)}}},
        {"battery",
         {{"isPresent", battery.isPresent},
          {"percent", ifPresent(battery.isPresent, battery.percent)},
          {"isCharging", battery.isCharging},
          {"isOnAC", battery.isOnAC},
          {"minutesRemaining", optional(battery.minutesRemaining)},
          {"healthPercent", optional(battery.healthPercent)},
          {"cycleCount", optional(battery.cycleCount)},
          {"temperatureC", optional(battery.temperatureC)}}},
        {"gpu",
         {{"isAvailable", gpu.isAvailable},
          {"utilizationPercent", ifPresent(gpu.isAvailable, gpu.utilizationPercent)},
          {"deviceName", optional(gpu.deviceName)}}},
        {"fan", {{"hasFans", store.fan().hasFans}, {"fans", fans}}},
        {"power",
         {{"isAvailable", power.isAvailable},
          {"cpuWatts", ifPresent(power.isAvailable, power.cpuWatts)},
          {"gpuWatts", ifPresent(power.isAvailable, power.gpuWatts)},
          {"aneWatts", ifPresent(power.isAvailable, power.aneWatts)},
          {"dramWatts", ifPresent(power.isAvailable, power.dramWatts)},
          {"loadPercent", ifPresent(power.isAvailable, power.loadPercent)},
          {"systemWatts", optional(power.systemWatts)},
          {"dcInWatts", optional(power.dcInWatts)}}},
        {"temps",
         {{"thermalState", static_cast<int>(store.temps().thermalState)}, {"sensors", sensors}}},
        {"loadAverage", {{"one", load.one}, {"five", load.five}, {"fifteen", load.fifteen}}},
        {"uptime", {{"seconds", store.uptime().seconds}}},
        {"topProcesses",
         {{"byCPU", processes(store.topProcesses().byCPU)},
          {"byMemory", processes(store.topProcesses().byMemory)}}},
    };
}

}  // namespace glintdeck
