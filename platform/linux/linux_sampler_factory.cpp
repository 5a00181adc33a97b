#include "platform/linux/linux_sampler_factory.h"

#include "platform/linux/pci_accelerator_source.h"
#include "platform/linux/proc_loadavg_reader.h"
#include "platform/linux/proc_process_table.h"
#include "platform/linux/proc_stat_reader.h"
#include "platform/linux/sysfs_power_source.h"
#include "platform/linux/system_clock.h"
#include "samplers/battery_sampler.h"
#include "samplers/cpu_sampler.h"
#include "samplers/gpu_sampler.h"
#include "samplers/load_average_sampler.h"
#include "samplers/top_process_sampler.h"
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

std::shared_ptr<Sampler> LinuxSamplerFactory::makeBatterySampler(double interval,
                                                                 OnSample<BatterySample> onSample) {
    return std::make_shared<BatterySampler>(executor_, interval,
                                            std::make_unique<SysfsPowerSource>(root_, clock_),
                                            std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeGPUSampler(double interval,
                                                             OnSample<GPUSample> onSample) {
    return std::make_shared<GPUSampler>(executor_, interval,
                                        std::make_unique<PciAcceleratorSource>(root_, clock_),
                                        std::move(onSample));
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeFanSampler(double, OnSample<FanSample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makePowerSampler(double, OnSample<PowerSample>) {
    return nullptr;
}

std::shared_ptr<Sampler> LinuxSamplerFactory::makeTemperatureSampler(double,
                                                                     OnSample<TemperatureSample>) {
    return nullptr;
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

}  // namespace glintdeck
