#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glintdeck {

// The records the samplers deliver and the store keeps: raw readings in fixed units (percent
// 0-100, bytes, bytes per second, watts, degrees Celsius, seconds), never formatted text.
// Each compares field by field and has an empty() value: what the store holds before the
// first sample arrives.

struct CPUSample {
    double totalUsagePercent = 0;
    double userPercent = 0;
    double systemPercent = 0;
    double idlePercent = 100;  // nice ticks count toward the total but have no field
    bool operator==(const CPUSample&) const = default;
    static CPUSample empty() { return {}; }
};

struct MemorySample {
    uint64_t usedBytes = 0;
    uint64_t totalBytes = 0;
    double pressurePercent = 0;
    uint64_t appBytes = 0;
    uint64_t wiredBytes = 0;
    uint64_t compressedBytes = 0;
    bool operator==(const MemorySample&) const = default;
    static MemorySample empty() { return {}; }
};

struct DiskSample {
    uint64_t usedBytes = 0;
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
    double readBytesPerSec = 0;
    double writeBytesPerSec = 0;
    bool operator==(const DiskSample&) const = default;
    static DiskSample empty() { return {}; }
};

struct NetworkSample {
    double downBytesPerSec = 0;
    double upBytesPerSec = 0;
    std::optional<std::string> interfaceName;    // the label: "Wi-Fi (wlp2s0)", or the bare name
    std::optional<std::string> interfaceDevice;  // the kernel's name alone: "wlp2s0"
    std::optional<std::string> localIP;
    bool operator==(const NetworkSample&) const = default;
    static NetworkSample empty() { return {}; }
};

struct BatterySample {
    bool isPresent = false;
    double percent = 0;
    bool isCharging = false;
    bool isOnAC = false;
    std::optional<int64_t> minutesRemaining;
    std::optional<double> healthPercent;
    std::optional<int64_t> cycleCount;
    std::optional<double> temperatureC;
    bool operator==(const BatterySample&) const = default;
    static BatterySample empty() { return {}; }
};

struct GPUSample {
    bool isAvailable = false;
    double utilizationPercent = 0;
    std::optional<std::string> deviceName;
    bool operator==(const GPUSample&) const = default;
    static GPUSample empty() { return {}; }
};

struct FanSample {
    struct Fan {
        double current = 0;  // revolutions per minute
        double min = 0;      // 0 when not reported
        double max = 0;      // 0 when not reported
        bool operator==(const Fan&) const = default;
    };
    bool hasFans = false;  // when true, fans holds at least one fan
    std::vector<Fan> fans;
    bool operator==(const FanSample&) const = default;
    static FanSample empty() { return {}; }
};

struct PowerSample {
    bool isAvailable = false;
    double cpuWatts = 0;
    double gpuWatts = 0;
    double aneWatts = 0;
    double dramWatts = 0;
    double loadPercent = 0;
    std::optional<double> systemWatts;
    std::optional<double> dcInWatts;
    bool operator==(const PowerSample&) const = default;
    static PowerSample empty() { return {}; }
};

// Raw values 0-3 keep their order and meaning.
enum class ThermalState { nominal = 0, fair = 1, serious = 2, critical = 3 };

struct TempReading {
    std::string label;  // "CPU", "GPU", "SoC", "SSD" or "Battery"
    double celsius = 0;
    bool operator==(const TempReading&) const = default;
};

struct TemperatureSample {
    ThermalState thermalState = ThermalState::nominal;
    std::vector<TempReading>
        sensors;  // at most one per label, in the order CPU, GPU, SoC, SSD, Battery
    bool operator==(const TemperatureSample&) const = default;
    static TemperatureSample empty() { return {}; }
};

struct LoadSample {
    double one = 0;
    double five = 0;
    double fifteen = 0;
    bool operator==(const LoadSample&) const = default;
    static LoadSample empty() { return {}; }
};

struct UptimeSample {
    double seconds = 0;
    bool operator==(const UptimeSample&) const = default;
    static UptimeSample empty() { return {}; }
};

struct ProcStat {
    std::string name;  // identity: processes of one name are summed into one entry
    double value = 0;  // CPU percent (may exceed 100) or resident bytes
    bool operator==(const ProcStat&) const = default;
};

struct TopProcessesSample {
    std::vector<ProcStat> byCPU;     // largest first, at most 12
    std::vector<ProcStat> byMemory;  // largest first, at most 12
    bool operator==(const TopProcessesSample&) const = default;
    static TopProcessesSample empty() { return {}; }
};

// A process the alerts name: which one it is (its id with its start time, since ids are reused),
// its display name, and its CPU percent of one processor or its resident bytes.
struct WatchedProcess {
    int32_t pid = 0;
    uint64_t startTime = 0;
    std::string name;
    double value = 0;
    [[nodiscard]] bool sameProcess(const WatchedProcess& other) const {
        return pid == other.pid && startTime == other.startTime;
    }
    bool operator==(const WatchedProcess&) const = default;
};

// What the alerts watch beyond the tiles' samples, read every few seconds.
struct WatchSample {
    // Percent of the last minute in which some task waited for memory; none without the
    // kernel's pressure stall information.
    std::optional<double> memoryPressure;
    // The process busiest on the processor and the one with the most resident memory; none
    // when the table was not scanned (or this scan only started a measurement).
    std::optional<WatchedProcess> busiest;
    std::optional<WatchedProcess> largest;
    bool operator==(const WatchSample&) const = default;
    static WatchSample empty() { return {}; }
};

}  // namespace glintdeck
