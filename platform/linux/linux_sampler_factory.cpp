#include "platform/linux/linux_sampler_factory.h"

#include "platform/linux/energy_channels.h"
#include "platform/linux/hwmon_smc_connection.h"
#include "platform/linux/hwmon_temperatures.h"
#include "platform/linux/linux_thermal_state.h"
#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_stat_reader.h"
#include "platform/linux/system_clock.h"
#include "samplers/cpu_sampler.h"
#include "samplers/fan_sampler.h"
#include "samplers/load_average_sampler.h"
#include "samplers/power_sampler.h"
#include "samplers/temperature_sampler.h"
#include "samplers/uptime_sampler.h"

namespace glintdeck {

LinuxSamplerFactory::LinuxSamplerFactory(Executor& executor, std::shared_ptr<const Clock> clock,
                                         std::string root)
    : executor_(executor), clock_(std::move(clock)), root_(std::move(root)) {}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeCPUSampler(double interval,
                                                             OnSample<CPUSample> onSample) {
    return std::make_shared<CPUSampler>(
        executor_, interval, std::make_unique<ProcStatReader>(root_), std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeMemorySampler(double, OnSample<MemorySample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeDiskSampler(double, OnSample<DiskSample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeNetworkSampler(double, OnSample<NetworkSample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeBatterySampler(double, OnSample<BatterySample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeGPUSampler(double, OnSample<GPUSample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeFanSampler(double interval,
                                                             OnSample<FanSample> onSample) {
    return std::make_shared<FanSampler>(
        executor_, interval, [root = root_] { return openHwmonSmcConnection(root); },
        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makePowerSampler(double interval,
                                                               OnSample<PowerSample> onSample) {
    auto makeReader = [root = root_, clock = clock_] {
        return std::make_unique<IOReportPower>(linuxEnergyChannels(root), clock);
    };
    return std::make_shared<PowerSampler>(
        executor_, interval, std::move(makeReader),
        [root = root_] { return openHwmonSmcConnection(root); }, std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeTemperatureSampler(
    double interval, OnSample<TemperatureSample> onSample) {
    auto makeReader = [root = root_] {
        std::vector<std::unique_ptr<ThermalServiceSource>> sources;
        sources.push_back(std::make_unique<HwmonThermalServices>(root));
        return std::make_unique<IOHIDTemperatureReader>(
            std::move(sources), [root] { return openHwmonSmcConnection(root); });
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

std::shared_ptr<Sampler> LinuxSamplerFactory::makeTopProcessSampler(double,
                                                                    OnSample<TopProcessesSample>) {
    return nullptr;
}

}  // namespace glintdeck
