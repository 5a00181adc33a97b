#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "platform/linux/nvml_library.h"
#include "samplers/gpu_sampler.h"

namespace glintdeck {

struct PciAcceleratorOptions {
    std::string nvmlLibrary = NvmlLibrary::kProductPath;
    std::string pciIds;  // the PCI ID database; empty for libpci's own
};

// The GPU sampler's accelerators on Linux: one property table per PCI display controller, in
// bus order, with "IOClass" the kernel driver and "model" the product name from the PCI ID
// database (NVML's own name for NVIDIA cards once it has answered). "PerformanceStatistics"
// comes from amdgpu's gpu_busy_percent or from NVML; other drivers (i915, xe, nouveau) have
// no unprivileged system-wide busy figure and are listed without one.
//
// Power: no read of a card happens unless its runtime power state is active, so a sleeping
// discrete GPU is never woken; it reports 0% (it is idle) under its cached name, and NVML is
// not initialised while no NVIDIA card is awake. Staying awake matters as much: each read
// restarts the driver's autosuspend timer, so an idle card that may sleep is read only once
// per autosuspend delay (plus a margin) and holds no NVML session in between, giving it the
// chance to fall asleep. A busy card, or one that never sleeps, is read every tick.
class PciAcceleratorSource final : public AcceleratorSource {
  public:
    PciAcceleratorSource(std::string root, std::shared_ptr<const Clock> clock,
                         PciAcceleratorOptions options = {});
    ~PciAcceleratorSource() override;

    void prepare() override;
    void release() override;
    [[nodiscard]] std::vector<PropertyTable> accelerators() override;

  private:
    struct Card;

    [[nodiscard]] std::optional<int64_t> utilization(Card& card, double now);
    [[nodiscard]] std::optional<int64_t> readNvml(Card& card);
    void closeIdleNvmlSession();

    std::string root_;
    std::shared_ptr<const Clock> clock_;
    PciAcceleratorOptions options_;
    std::vector<std::unique_ptr<Card>> cards_;
    std::unique_ptr<NvmlLibrary> nvml_;
    bool nvmlFailed_ = false;  // initialisation failed: not retried until the next start
};

}  // namespace glintdeck
