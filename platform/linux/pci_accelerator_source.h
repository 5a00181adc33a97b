#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/gpu_read_schedule.h"
#include "platform/linux/nvml_library.h"
#include "samplers/gpu_sampler.h"

namespace glintdeck {

struct PciAcceleratorOptions {
    std::string nvmlLibrary = NvmlLibrary::kProductPath;
    std::string pciIds;  // the PCI ID database; empty for libpci's own
};

// The GPU sampler's accelerators on Linux: one property table per PCI display controller, with
// "IOClass" the kernel driver and "model" the product name from the PCI ID database (NVML's
// own name for NVIDIA cards once it has answered). "PerformanceStatistics" comes from amdgpu's
// gpu_busy_percent, from NVML, or from an Intel card's RC6 residency (intel_gpu_idle.h);
// nouveau has no unprivileged busy figure and is listed without one.
//
// Order: the awake cards in bus order, then the sleeping ones, so that on a hybrid-graphics
// laptop the sampler shows the card doing the work, and the first card when all sleep.
//
// Power: every read follows the cards' shared schedule (gpu_read_schedule.h): nothing is read
// of a sleeping card, which reports 0% (it is idle) under its cached name, and NVML is not
// initialised while no NVIDIA card is awake; an idle card that may sleep is read once per
// autosuspend delay and holds no NVML session in between, so that it can fall asleep. Between
// reads a card shows its last figure.
class PciAcceleratorSource final : public AcceleratorSource {
  public:
    PciAcceleratorSource(std::string root, std::shared_ptr<GpuReadSchedule> gpus,
                         PciAcceleratorOptions options = {});
    ~PciAcceleratorSource() override;

    void prepare() override;
    void release() override;
    [[nodiscard]] std::vector<PropertyTable> accelerators() override;

  private:
    struct Card;

    [[nodiscard]] std::optional<int64_t> utilization(Card& card);
    [[nodiscard]] std::optional<int64_t> readNvml(Card& card);
    void closeIdleNvmlSession();

    std::string root_;
    std::shared_ptr<GpuReadSchedule> gpus_;
    PciAcceleratorOptions options_;
    std::vector<std::unique_ptr<Card>> cards_;
    std::unique_ptr<NvmlLibrary> nvml_;
    bool nvmlFailed_ = false;  // initialisation failed: not retried until the next start
};

}  // namespace glintdeck
