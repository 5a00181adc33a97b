#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/kernel_file.h"
#include "samplers/watch_sampler.h"

namespace glintdeck {

// The "some avg60" figure of /proc/pressure/memory ("some avg10=0.00 avg60=1.25 avg300=0.40
// total=123"): percent of the last minute in which at least one task waited for memory. None
// when the line or the field is missing or not a number.
[[nodiscard]] std::optional<double> parseMemoryPressure(std::string_view text);

// /proc/pressure/memory under a root path. Kernels without pressure stall information (before
// 4.20, or built without it, or booted with psi=0) have no such file or refuse to read it: no
// figure, and no watch.
class MemoryPressureReader final : public PressureSource {
  public:
    explicit MemoryPressureReader(const std::string& root);
    [[nodiscard]] std::optional<double> memoryPressure() override;

  private:
    KernelFile file_;
};

}  // namespace glintdeck
