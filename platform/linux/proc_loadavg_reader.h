#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/kernel_file.h"
#include "samplers/load_average_sampler.h"

namespace glintdeck {

// The three load averages at the start of /proc/loadavg ("0.52 0.58 0.59 1/123 4567"), which is
// what getloadavg(3) reads; reading it under a root path lets tests use fixture trees.
[[nodiscard]] std::optional<std::array<double, 3>> parseLoadAverage(std::string_view text);

class ProcLoadAverageReader final : public LoadAverageSource {
  public:
    explicit ProcLoadAverageReader(const std::string& root);
    [[nodiscard]] int loadAverages(std::array<double, 3>& values) override;

  private:
    KernelFile file_;
};

}  // namespace glintdeck
