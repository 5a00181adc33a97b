#include "cli/urgent_stats.h"

namespace glintdeck {

std::vector<StatKind> urgentStats(const BatterySample& battery, const TemperatureSample& temps,
                                  const DiskSample& disk) {
    std::vector<StatKind> urgent;
    if (battery.isPresent && !battery.isCharging && !battery.isOnAC && battery.percent <= 10) {
        urgent.push_back(StatKind::battery);
    }
    if (temps.thermalState >= ThermalState::serious) urgent.push_back(StatKind::temps);
    if (disk.freeBytes < disk.totalBytes / 20) urgent.push_back(StatKind::disk);
    return urgent;
}

}  // namespace glintdeck
