#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/gpu_read_schedule.h"
#include "platform/linux/kernel_file.h"
#include "samplers/ioreport_power.h"

namespace glintdeck {

// A powercap RAPL zone's energy_uj. The counter wraps at max_energy_range_uj: a reading below
// the previous one went round once.
class RaplEnergyCounter final : public EnergyCounter {
  public:
    RaplEnergyCounter(const std::string& energyPath, uint64_t range);
    [[nodiscard]] std::optional<uint64_t> read() override;
    [[nodiscard]] uint64_t delta(uint64_t older, uint64_t newer) const override;

  private:
    KernelFile file_;
    uint64_t range_;
};

// An hwmon energyK_input (microjoules).
class HwmonEnergyCounter final : public EnergyCounter {
  public:
    explicit HwmonEnergyCounter(const std::string& path);
    [[nodiscard]] std::optional<uint64_t> read() override;

  private:
    KernelFile file_;
};

// The machine's energy channels, all of the "Energy Model" group in microjoules:
// - powercap RAPL (intel-rapl:*, also on AMD): the core subzone is "CPU Energy", uncore
//   (integrated graphics) "GPU Energy", dram "DRAM Energy", and a package without a readable
//   core subzone is "CPU Energy" itself; a package and its subzones are never both counted.
//   On AMD processors the package is always the "CPU Energy": their core zone counts one core.
//   Zones whose energy_uj cannot be read (root-only on current kernels) are left out, and so
//   is the intel-rapl-mmio duplicate of the package;
// - hwmon: a GPU's energy input (its "card" input where it has several) is "GPU Energy", or,
//   for a discrete card without one, its power reading integrated over time (amdgpu's
//   power1_average); a PCI card's are read as gpus allows. Inputs labelled as a CPU package or
//   socket are "CPU Energy", or, on chips without one, those labelled as cores. These are used
//   only where RAPL gave no processor channel.
[[nodiscard]] std::vector<EnergyChannel> linuxEnergyChannels(
    const std::string& root, const std::shared_ptr<GpuReadSchedule>& gpus);

}  // namespace glintdeck
