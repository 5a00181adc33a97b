#include "platform/linux/linux_sampler_factory.h"

#include "platform/linux/diskstats_reader.h"
#include "platform/linux/energy_channels.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/interface_address_list.h"
#include "platform/linux/linux_network_source.h"
#include "platform/linux/linux_thermal_state.h"
#include "platform/linux/meminfo_reader.h"
#include "platform/linux/memory_pressure_reader.h"
#include "platform/linux/nvml_sensors.h"
#include "platform/linux/pci_accelerator_source.h"
#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_process_table.h"
#include "platform/linux/proc_stat_reader.h"
#include "platform/linux/statvfs_reader.h"
#include "platform/linux/sysfs_power_source.h"
#include "platform/linux/system_clock.h"
#include "samplers/battery_sampler.h"
#include "samplers/cpu_sampler.h"
#include "samplers/disk_sampler.h"
#include "samplers/fan_sampler.h"
#include "samplers/gpu_sampler.h"
#include "samplers/load_average_sampler.h"
#include "samplers/memory_sampler.h"
#include "samplers/network_sampler.h"
#include "samplers/power_sampler.h"
#include "samplers/temperature_sampler.h"
#include "samplers/top_process_sampler.h"
#include "samplers/uptime_sampler.h"

namespace glintdeck {

LinuxSamplerFactory::LinuxSamplerFactory(Executor& executor, std::shared_ptr<const Clock> clock,
                                         std::string root)
    : executor_(executor),
      clock_(clock),
      root_(std::move(root)),
      gpus_(std::make_shared<GpuReadSchedule>(std::move(clock))) {}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeCPUSampler(double interval,
                                                             OnSample<CPUSample> onSample) {
    return std::make_shared<CPUSampler>(
        executor_, interval, std::make_unique<ProcStatReader>(root_), std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeMemorySampler(double interval,
                                                                OnSample<MemorySample> onSample) {
    return std::make_shared<MemorySampler>(
        executor_, interval, std::make_unique<MeminfoReader>(root_), std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeDiskSampler(double interval,
                                                              OnSample<DiskSample> onSample) {
    return std::make_shared<DiskSampler>(
        executor_, interval, std::make_unique<StatvfsReader>(root_),
        std::make_unique<DiskstatsReader>(root_), std::move(onSample));
}

// The address list is always the running machine's: getifaddrs has no root path. It is listed
// again only when the kernel announces a change, the counters coming from /proc/net/dev.
std::shared_ptr<Sampler> LinuxSamplerFactory::makeNetworkSampler(double interval,
                                                                 OnSample<NetworkSample> onSample) {
    return std::make_shared<NetworkSampler>(
        executor_, interval,
        std::make_unique<LinuxNetworkSource>(root_,
                                             std::make_unique<WatchedInterfaceAddressList>()),
        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeBatterySampler(double interval,
                                                                 OnSample<BatterySample> onSample) {
    return std::make_shared<BatterySampler>(executor_, interval,
                                            std::make_unique<SysfsPowerSource>(root_, clock_),
                                            std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeGPUSampler(double interval,
                                                             OnSample<GPUSample> onSample) {
    return std::make_shared<GPUSampler>(executor_, interval,
                                        std::make_unique<PciAcceleratorSource>(root_, gpus_),
                                        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeFanSampler(double interval,
                                                             OnSample<FanSample> onSample) {
    return std::make_shared<FanSampler>(
        executor_, interval,
        [root = root_, gpus = gpus_] { return openHwmonSmcConnection(root, gpus); },
        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makePowerSampler(double interval,
                                                               OnSample<PowerSample> onSample) {
    auto makeReader = [root = root_, clock = clock_, gpus = gpus_] {
        std::vector<EnergyChannel> channels = linuxEnergyChannels(root, gpus);
        for (EnergyChannel& channel : nvmlEnergyChannels(root, gpus)) {
            channels.push_back(std::move(channel));
        }
        return std::make_unique<IOReportPower>(std::move(channels), clock);
    };
    return std::make_shared<PowerSampler>(
        executor_, interval, std::move(makeReader),
        [root = root_, gpus = gpus_] { return openHwmonSmcConnection(root, gpus); },
        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeTemperatureSampler(
    double interval, OnSample<TemperatureSample> onSample) {
    auto makeReader = [root = root_, gpus = gpus_] {
        std::vector<std::unique_ptr<ThermalServiceSource>> sources;
        sources.push_back(std::make_unique<HwmonThermalServices>(root, gpus));
        if (auto nvidia = nvmlThermalServices(root, gpus)) sources.push_back(std::move(nvidia));
        return std::make_unique<IOHIDTemperatureReader>(std::move(sources));
    };
    auto makeThermalState = [root = root_, clock = clock_] {
        return std::make_unique<LinuxThermalState>(root, clock);
    };
    return std::make_shared<TemperatureSampler>(executor_, interval, std::move(makeReader),
                                                std::move(makeThermalState), std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeLoadAverageSampler(
    double interval, OnSample<LoadSample> onSample) {
    return std::make_shared<LoadAverageSampler>(
        executor_, interval, std::make_unique<ProcLoadAverageReader>(root_), std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeUptimeSampler(double interval,
                                                                OnSample<UptimeSample> onSample) {
    return std::make_shared<UptimeSampler>(executor_, interval,
                                           std::make_unique<ClockBootTimeSource>(clock_), clock_,
                                           std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeTopProcessSampler(
    double interval, OnSample<TopProcessesSample> onSample) {
    return std::make_shared<TopProcessSampler>(executor_, interval,
                                               std::make_unique<ProcProcessTable>(root_, clock_),
                                               std::move(onSample));
}

std::shared_ptr<WatchSampler> LinuxSamplerFactory::makeWatchSampler(
    double interval, WatchSampler::OnSample onSample) {
    // A scan every third tick: every 30 s at the alerts' 10 s cadence.
    return std::make_shared<WatchSampler>(
        executor_, interval, 3, std::make_unique<ProcProcessTable>(root_, clock_),
        std::make_unique<MemoryPressureReader>(root_), std::move(onSample));
}

}  // namespace glintdeck
